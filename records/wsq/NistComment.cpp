#include "records/wsq/NistComment.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace kv90rec::wsq {

std::string MakeNistComment(int width, int height, int ppi, double bitsPerPixel) {
    // Six decimals as printf's %f gives them, but with a point whatever the locale.
    const long long millionths = std::llround(bitsPerPixel * 1e6);
    char rate[40];
    std::snprintf(rate, sizeof rate, "%lld.%06lld", millionths / 1000000, millionths % 1000000);
    // The last line has no newline after it, as NIST's own files have it.
    return "NIST_COM 9\nPIX_WIDTH " + std::to_string(width) + "\nPIX_HEIGHT " + std::to_string(height) +
           "\nPIX_DEPTH 8\nPPI " + std::to_string(ppi) +
           "\nLOSSY 1\nCOLORSPACE GRAY\nCOMPRESSION WSQ\nWSQ_BITRATE " + rate;
}

bool ReadNistPpi(const std::string& text, int& ppi) {
    if (text.rfind("NIST_COM ", 0) != 0) return false;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("PPI ", 0) != 0) continue;
        char* end = nullptr;
        const long value = std::strtol(line.c_str() + 4, &end, 10);
        if (end == line.c_str() + 4 || value <= 0 || value > 100000) return false;
        ppi = static_cast<int>(value);
        return true;
    }
    return false;
}

}  // namespace kv90rec::wsq
