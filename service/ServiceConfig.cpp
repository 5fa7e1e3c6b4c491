// Reading Config\Service.ini.
#include "service/ServiceConfig.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* kSection = "Service";

std::string ReadText(const std::string& iniPath, const char* key) {
    char buffer[4096] = {};
    GetPrivateProfileStringA(kSection, key, "", buffer, sizeof buffer, iniPath.c_str());
    return buffer;
}

bool AllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); });
}

}  // namespace

std::string NormalOrigin(const std::string& text) {
    std::string origin = text;
    std::transform(origin.begin(), origin.end(), origin.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    while (!origin.empty() && origin.back() == '/') origin.pop_back();
    const size_t schemeEnd = origin.find("://");
    if (schemeEnd == std::string::npos) return "";
    const std::string scheme = origin.substr(0, schemeEnd);
    if (scheme != "http" && scheme != "https") return "";
    const std::string authority = origin.substr(schemeEnd + 3);
    if (authority.empty()) return "";
    // A path, query, user name or blank would never match what a browser sends.
    if (authority.find_first_of("/?#@ \t\\") != std::string::npos) return "";
    const size_t colon = authority.rfind(':');
    const bool bracketed = authority.front() == '[';
    if (colon != std::string::npos && (!bracketed || colon > authority.find(']'))) {
        const std::string port = authority.substr(colon + 1);
        if (!AllDigits(port) || port.size() > 5 || std::stoi(port) > 65535) return "";
        if (colon == 0) return "";
    }
    return origin;
}

std::vector<std::string> ParseOriginList(const std::string& text, std::vector<std::string>& rejected) {
    std::vector<std::string> origins;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = std::min(text.find_first_of(",; \t", start), text.size());
        const std::string item = text.substr(start, end - start);
        if (!item.empty()) {
            const std::string origin = NormalOrigin(item);
            if (origin.empty()) {
                rejected.push_back(item);
            } else if (std::find(origins.begin(), origins.end(), origin) == origins.end()) {
                origins.push_back(origin);
            }
        }
        start = end + 1;
    }
    return origins;
}

ServiceConfig ReadServiceConfig(const std::string& iniPath, std::vector<std::string>& problems) {
    ServiceConfig config;
    const std::string port = ReadText(iniPath, "Port");
    if (!port.empty()) {
        // Browsers leave the default ports 80 and 443 out of the Host header,
        // which the caller check then could not tell from a rebinding name.
        const bool usable = AllDigits(port) && port.size() <= 5 && std::stoi(port) >= 1 && std::stoi(port) <= 65535 &&
                            std::stoi(port) != 80 && std::stoi(port) != 443;
        if (usable) {
            config.Port = std::stoi(port);
        } else {
            problems.push_back("Port=" + port);
        }
    }
    std::vector<std::string> rejected;
    config.AllowedOrigins = ParseOriginList(ReadText(iniPath, "AllowedOrigins"), rejected);
    for (const std::string& item : rejected) problems.push_back("AllowedOrigins: " + item);
    config.AllowLocalTools = ReadText(iniPath, "AllowLocalTools") == "1";
    return config;
}
