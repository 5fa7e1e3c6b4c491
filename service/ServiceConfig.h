// The web service's settings, Config\Service.ini section [Service]. Every key
// may be missing; the defaults are the safe ones: no web site may call, local
// tools may only read the service's state.
#pragma once

#include <string>
#include <vector>

struct ServiceConfig {
    static constexpr int kDefaultPort = 17090;

    int Port = kDefaultPort;
    // Exact origins ("https://enrol.example.gov.cn", "http://localhost:8080"),
    // lower-case, without a trailing slash.
    std::vector<std::string> AllowedOrigins;
    // Callers without an Origin header (scripts, tools) may do everything,
    // not only read /v1/info.
    bool AllowLocalTools = false;
};

// Reads the file; a missing file gives the defaults. A port outside 1 to
// 65535, or 80 or 443, gives the default port, and an origin that is not a plain
// scheme://host[:port] is left out; each such value is named in `problems`.
ServiceConfig ReadServiceConfig(const std::string& iniPath, std::vector<std::string>& problems);

// The list as the file holds it: origins separated by commas, semicolons or
// blanks. Ill-formed entries go to `rejected`.
std::vector<std::string> ParseOriginList(const std::string& text, std::vector<std::string>& rejected);

// An origin in the form browsers send it: lower-case scheme and host, no
// trailing slash; "" when it is not scheme://host[:port] with http or https.
std::string NormalOrigin(const std::string& text);
