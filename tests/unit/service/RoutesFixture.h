// The routes over real loopback connections with a stand-in station: a
// server on a free port, the routes behind it, and a page's requests made
// while this thread runs the desk's commands.
#pragma once

#include "FakeStation.h"
#include "TestHttpClient.h"
#include "service/CallerPolicy.h"
#include "service/EventHistory.h"
#include "service/HttpServer.h"
#include "service/RefusalLog.h"
#include "service/ServiceRoutes.h"
#include "service/StationDesk.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const kSite = "https://enrol.example.cn";
const char* const kRun = "run7";
// Texts the web sends are UTF-8 (u8 literals); the test's plain literals are GBK.

// The desk runs commands on this thread: it dispatches messages while a
// client on another thread waits for its answer.
template <typename F>
auto Pumped(F call) {
    auto answer = std::async(std::launch::async, call);
    while (answer.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    return answer.get();
}

// The routes need the policy, which needs the port the server was given.
class LateRoutes : public HttpRoutes {
public:
    HttpAnswer Admit(const HttpRequest& head) override { return routes->Admit(head); }
    RoutePlan Plan(const HttpRequest& request) override { return routes->Plan(request); }
    std::unique_ptr<ServiceRoutes> routes;
};

ServerLimits TestLimits() {
    ServerLimits limits;
    limits.RequestDeadline = std::chrono::milliseconds(2000);
    // Longer than any receive of the client: an event that comes must come
    // because it was appended, not because the stream's keep-alive went off.
    limits.StreamKeepAlive = std::chrono::milliseconds(60000);
    return limits;
}

class ServiceRoutesTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(server.Bind(0, error)) << error;
        ServiceConfig config;
        config.Port = server.Port();
        config.AllowedOrigins = {kSite};
        policy.reset(new CallerPolicy(config));
        RouteLimits limits;
        limits.JpegQuality = 90;
        limits.RecordsIni = RecordsIni();
        late.routes.reset(new ServiceRoutes(*policy, desk, events, refusals, "1.0.0", limits));
        server.Start();
    }
    void TearDown() override {
        desk.Stop();
        events.Shutdown();
        server.Stop();
        DeleteFileW(RecordsIni().c_str());
    }

    // The office's settings the routes read: none unless a test writes them.
    static std::wstring RecordsIni() {
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        return std::wstring(folder) + L"kv90_service_Records.ini";
    }

    TestHttpClient Client() const { return TestHttpClient(server.Port()); }
    TestHeaders Page() const { return {{"Origin", kSite}}; }

    TestAnswer Post(const std::string& path, const std::string& body, const TestHeaders& headers) {
        return Pumped([&] { return Client().Request("POST", path, headers, body); });
    }
    TestAnswer Get(const std::string& path, const TestHeaders& headers) {
        return Pumped([&] { return Client().Request("GET", path, headers); });
    }
    std::string Events(const std::string& lastEventId, int count) {
        TestHeaders headers = Page();
        if (!lastEventId.empty()) headers.push_back({"Last-Event-ID", lastEventId});
        return Pumped([&] { return Client().Events(headers, count); });
    }

    std::vector<std::string> logged;
    FakeStation station;
    EventHistory events{64, 64, 4, kRun};
    StationDesk desk{station, events};
    RefusalLog refusals{[this](const std::string& line) { logged.push_back(line); }};
    LateRoutes late;
    HttpServer server{late, TestLimits()};
    std::unique_ptr<CallerPolicy> policy;
};

}  // namespace
