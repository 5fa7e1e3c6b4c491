// The one place that decides who may call the service. Any web site the
// operator visits can send requests to a loopback port, and a rebinding DNS
// name can make them look same-origin, so every request passes here before a
// route sees it: the Host header must name this service, a browser's Origin
// must be listed, and callers without an Origin (tools, not pages) may only
// read the state unless the office allowed more.
#pragma once

#include "service/ServiceConfig.h"

#include <string>
#include <utility>
#include <vector>

// What the policy needs of a request, whatever server parsed it.
struct CallerRequest {
    std::string Method;
    std::string Path;
    std::string Host;
    bool HasOrigin = false;
    std::string Origin;
    // Access-Control-Request-Method: present only on a browser's preflight.
    std::string PreflightMethod;
    // Access-Control-Request-Private-Network: a page on a public address asks
    // to reach the loopback address.
    bool AsksPrivateNetwork = false;
    // Sec-Fetch-Site: only browsers send it. A browser request without an
    // Origin (an <img> or a link) must not pass for a local tool.
    bool FromBrowser = false;
};

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct CallerVerdict {
    enum class Kind {
        Pass,      // the route may run, with Headers added to its answer
        Answered,  // a preflight the policy answered itself (204 and Headers)
        Refused,   // Status and Reason, no effect, no CORS headers
    };
    Kind Result = Kind::Pass;
    int Status = 0;
    std::string Reason;
    HeaderList Headers;
    // The person's key and name may be shown: to a listed page, and to local
    // tools only where the office allowed them everything.
    bool SeesPerson = false;
};

class CallerPolicy {
public:
    explicit CallerPolicy(const ServiceConfig& config);

    CallerVerdict Judge(const CallerRequest& request) const;

    // The Origin as the log names the caller; "" for a caller without one.
    static std::string CallerName(const CallerRequest& request);

private:
    bool HostAllowed(const std::string& host) const;
    bool OriginListed(const std::string& origin) const;

    int port_;
    std::vector<std::string> origins_;
    bool allowLocalTools_;
};
