#include "records/IniText.h"

#include <cctype>

namespace kv90rec {

namespace {

std::string Trim(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1]))) --last;
    return text.substr(first, last - first);
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

IniValues ParseIniText(const std::string& text) {
    IniValues values;
    std::string section;
    size_t at = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(at, end - at));
        at = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            if (close != std::string::npos) section = Lower(Trim(line.substr(1, close - 1)));
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        values[section + "\n" + Lower(Trim(line.substr(0, equals)))] = Trim(line.substr(equals + 1));
    }
    return values;
}

const std::string* FindIniValue(const IniValues& values, const std::string& section, const std::string& key) {
    const auto found = values.find(Lower(section) + "\n" + Lower(key));
    return found == values.end() ? nullptr : &found->second;
}

}  // namespace kv90rec
