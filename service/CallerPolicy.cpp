// Who may call the service, decided once per request.
#include "service/CallerPolicy.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr const char* kInfoPath = "/v1/info";

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

CallerVerdict Refuse(int status, const std::string& reason) {
    CallerVerdict verdict;
    verdict.Result = CallerVerdict::Kind::Refused;
    verdict.Status = status;
    verdict.Reason = reason;
    return verdict;
}

}  // namespace

CallerPolicy::CallerPolicy(const ServiceConfig& config)
    : port_(config.Port), origins_(config.AllowedOrigins), allowLocalTools_(config.AllowLocalTools) {}

bool CallerPolicy::HostAllowed(const std::string& host) const {
    // A rebinding name resolves to 127.0.0.1 but still carries its own name
    // here; only the loopback names with this service's port are ours.
    const std::string port = ":" + std::to_string(port_);
    const std::string name = Lower(host);
    return name == "127.0.0.1" + port || name == "localhost" + port;
}

bool CallerPolicy::OriginListed(const std::string& origin) const {
    const std::string normal = NormalOrigin(origin);
    return !normal.empty() && normal == origin && std::find(origins_.begin(), origins_.end(), normal) != origins_.end();
}

std::string CallerPolicy::CallerName(const CallerRequest& request) {
    return request.HasOrigin ? request.Origin : std::string();
}

CallerVerdict CallerPolicy::Judge(const CallerRequest& request) const {
    if (!HostAllowed(request.Host)) return Refuse(403, "Host header does not name this service");

    if (request.HasOrigin) {
        if (!OriginListed(request.Origin)) return Refuse(403, "origin not allowed");
        CallerVerdict verdict;
        verdict.SeesPerson = true;
        verdict.Headers = {{"Access-Control-Allow-Origin", request.Origin}, {"Vary", "Origin"}};
        if (request.Method == "OPTIONS" && !request.PreflightMethod.empty()) {
            verdict.Result = CallerVerdict::Kind::Answered;
            verdict.Status = 204;
            verdict.Headers.push_back({"Access-Control-Allow-Methods", "GET, POST"});
            verdict.Headers.push_back({"Access-Control-Allow-Headers", "Content-Type, Last-Event-ID"});
            verdict.Headers.push_back({"Access-Control-Max-Age", "600"});
            if (request.AsksPrivateNetwork) verdict.Headers.push_back({"Access-Control-Allow-Private-Network", "true"});
        }
        return verdict;
    }

    if (request.FromBrowser) {
        // No Origin but a browser's fetch metadata: a page's image, link or
        // navigation. It gets the state at most, as any tool does.
        if (request.Method == "GET" && request.Path == kInfoPath) return CallerVerdict();
        return Refuse(403, "browser request without an Origin");
    }
    if (allowLocalTools_) {
        CallerVerdict verdict;
        verdict.SeesPerson = true;
        return verdict;
    }
    if (request.Method == "GET" && request.Path == kInfoPath) return CallerVerdict();
    return Refuse(403, "callers without an Origin may only read /v1/info");
}
