// Who may call: one table of requests and what the policy answers.
#include "service/CallerPolicy.h"

#include <gtest/gtest.h>

namespace {

constexpr int kPort = 17090;
const char* const kSite = "https://enrol.example.cn";

ServiceConfig Config(bool allowLocalTools = false) {
    ServiceConfig config;
    config.Port = kPort;
    config.AllowedOrigins = {kSite, "http://localhost:8080"};
    config.AllowLocalTools = allowLocalTools;
    return config;
}

CallerRequest Request(const std::string& method, const std::string& path, const char* origin,
                      const std::string& host = "127.0.0.1:17090") {
    CallerRequest request;
    request.Method = method;
    request.Path = path;
    request.Host = host;
    request.HasOrigin = origin != nullptr;
    request.Origin = origin ? origin : "";
    return request;
}

using Kind = CallerVerdict::Kind;

std::string HeaderOf(const CallerVerdict& verdict, const std::string& name) {
    for (const auto& header : verdict.Headers)
        if (header.first == name) return header.second;
    return "(none)";
}

struct Case {
    const char* what;
    CallerRequest request;
    bool allowLocalTools;
    Kind expected;
};

TEST(CallerPolicyTest, DecidesEachKindOfCaller) {
    CallerRequest preflight = Request("OPTIONS", "/v1/person", kSite);
    preflight.PreflightMethod = "POST";
    CallerRequest strangerPreflight = Request("OPTIONS", "/v1/person", "https://evil.example");
    strangerPreflight.PreflightMethod = "POST";
    strangerPreflight.AsksPrivateNetwork = true;
    CallerRequest image = Request("GET", "/v1/fingers/0", nullptr);
    image.FromBrowser = true;
    CallerRequest browserInfo = Request("GET", "/v1/info", nullptr);
    browserInfo.FromBrowser = true;

    const Case cases[] = {
        {"listed origin", Request("POST", "/v1/station/open", kSite), false, Kind::Pass},
        {"listed origin, host by name", Request("GET", "/v1/info", kSite, "LOCALHOST:17090"), false, Kind::Pass},
        {"unlisted origin", Request("POST", "/v1/station/open", "https://evil.example"), false, Kind::Refused},
        {"unlisted origin reading", Request("GET", "/v1/info", "https://evil.example"), false, Kind::Refused},
        {"listed origin with a path", Request("GET", "/v1/info", "https://enrol.example.cn/"), false, Kind::Refused},
        {"origin of a sandboxed page", Request("GET", "/v1/info", "null"), false, Kind::Refused},
        {"listed site, other port", Request("GET", "/v1/info", "https://enrol.example.cn:444"), false, Kind::Refused},
        {"rebinding name", Request("GET", "/v1/info", kSite, "attacker.example:17090"), false, Kind::Refused},
        {"loopback, other port", Request("GET", "/v1/info", kSite, "127.0.0.1:80"), false, Kind::Refused},
        {"no host header", Request("GET", "/v1/info", nullptr, ""), false, Kind::Refused},
        {"preflight of a listed origin", preflight, false, Kind::Answered},
        {"preflight of a stranger", strangerPreflight, false, Kind::Refused},
        {"tool reading the state", Request("GET", "/v1/info", nullptr), false, Kind::Pass},
        {"tool opening", Request("POST", "/v1/station/open", nullptr), false, Kind::Refused},
        {"tool reading a finger", Request("GET", "/v1/fingers/0", nullptr), false, Kind::Refused},
        {"tool opening, tools allowed", Request("POST", "/v1/station/open", nullptr), true, Kind::Pass},
        {"page image without origin, tools allowed", image, true, Kind::Refused},
        {"page link to the state", browserInfo, false, Kind::Pass},
    };
    for (const Case& c : cases) {
        const CallerPolicy policy(Config(c.allowLocalTools));
        const CallerVerdict verdict = policy.Judge(c.request);
        EXPECT_EQ(static_cast<int>(verdict.Result), static_cast<int>(c.expected)) << c.what;
        if (verdict.Result == Kind::Refused) {
            EXPECT_EQ(verdict.Status, 403) << c.what;
            EXPECT_TRUE(verdict.Headers.empty()) << c.what << ": a refusal carries no CORS header";
        }
    }
}

TEST(CallerPolicyTest, ListedOriginGetsCorsHeadersAndPrivateNetworkAnswer) {
    const CallerPolicy policy(Config());
    const CallerVerdict plain = policy.Judge(Request("GET", "/v1/info", kSite));
    EXPECT_EQ(HeaderOf(plain, "Access-Control-Allow-Origin"), kSite);
    EXPECT_EQ(HeaderOf(plain, "Vary"), "Origin");

    CallerRequest preflight = Request("OPTIONS", "/v1/person", kSite);
    preflight.PreflightMethod = "POST";
    EXPECT_EQ(HeaderOf(policy.Judge(preflight), "Access-Control-Allow-Private-Network"), "(none)");
    preflight.AsksPrivateNetwork = true;
    const CallerVerdict answered = policy.Judge(preflight);
    EXPECT_EQ(answered.Status, 204);
    EXPECT_EQ(HeaderOf(answered, "Access-Control-Allow-Private-Network"), "true");
    EXPECT_EQ(HeaderOf(answered, "Access-Control-Allow-Origin"), kSite);
    EXPECT_EQ(HeaderOf(answered, "Access-Control-Allow-Headers"), "Content-Type, Last-Event-ID");
}

TEST(CallerPolicyTest, NoOriginIsListedByDefault) {
    const CallerPolicy policy{ServiceConfig()};
    CallerRequest request = Request("GET", "/v1/info", "http://localhost:8080", "127.0.0.1:17090");
    EXPECT_EQ(static_cast<int>(policy.Judge(request).Result), static_cast<int>(Kind::Refused));
}

}  // namespace
