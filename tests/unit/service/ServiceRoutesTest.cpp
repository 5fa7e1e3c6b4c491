// The routes over a real loopback connection, with a stand-in station: a page's
// flow, and the requests that must change nothing.
#include "FakeStation.h"
#include "TestBitmap.h"
#include "service/FingerImage.h"
#include "service/ServiceRoutes.h"
#include "service/WebServer.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <future>

namespace {

const char* const kSite = "https://enrol.example.cn";
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

class ServiceRoutesTest : public testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(server.Bind(0, error)) << error;
        ServiceConfig config;
        config.Port = server.Port();
        config.AllowedOrigins = {kSite};
        policy.reset(new CallerPolicy(config));
        routes.reset(new ServiceRoutes(*policy, desk, events, refusals, "1.0.0",
                                       RouteLimits{std::chrono::milliseconds(200), 90}));
        routes->Install(server.Server());
        server.Start();
    }
    void TearDown() override {
        desk.Stop();
        events.Shutdown();
        server.Stop();
    }

    httplib::Client Client() {
        httplib::Client client("127.0.0.1", server.Port());
        client.set_read_timeout(10, 0);
        return client;
    }
    httplib::Headers Page() const { return {{"Origin", kSite}}; }

    httplib::Result Post(const std::string& path, const std::string& body, httplib::Headers headers) {
        return Pumped([&] { return Client().Post(path.c_str(), headers, body, "application/json"); });
    }
    httplib::Result Get(const std::string& path, httplib::Headers headers) {
        return Pumped([&] { return Client().Get(path.c_str(), headers); });
    }
    // The events stream read until `count` events came.
    std::string Events(const std::string& lastEventId, int count) {
        httplib::Headers headers = Page();
        if (!lastEventId.empty()) headers.emplace("Last-Event-ID", lastEventId);
        std::string text;
        Pumped([&] {
            return Client().Get("/v1/events", headers, [&](const char* data, size_t length) {
                text.append(data, length);
                size_t frames = 0;
                for (size_t at = text.find("\nevent: "); at != std::string::npos; at = text.find("\nevent: ", at + 1))
                    ++frames;
                return frames < static_cast<size_t>(count);
            });
        });
        return text;
    }

    std::vector<std::string> logged;
    FakeStation station;
    EventHistory events{64, 64, 4};
    StationDesk desk{station, events};
    RefusalLog refusals{[this](const std::string& line) { logged.push_back(line); }};
    WebServer server;
    std::unique_ptr<CallerPolicy> policy;
    std::unique_ptr<ServiceRoutes> routes;
};

TEST_F(ServiceRoutesTest, PageOpensNamesGetsEventsAndFingers) {
    auto opened = Post("/v1/station/open", "", Page());
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->status, 200) << opened->body;
    EXPECT_EQ(opened->get_header_value("Access-Control-Allow-Origin"), kSite);
    EXPECT_EQ(nlohmann::json::parse(opened->body)["state"], "ready");

    auto named = Post("/v1/person", u8R"({"key":"110101","name":"张三"})", Page());
    ASSERT_TRUE(named);
    EXPECT_EQ(named->status, 200) << named->body;

    const std::string bitmap = WriteGreyBitmap("kv90_service_slot.bmp", 8, [](int x, int y) { return x * 30 + y; });
    station.Collect(3, bitmap);
    const std::string stream = Events("", 2);
    EXPECT_NE(stream.find("id: 1\nevent: ready\n"), std::string::npos) << stream;
    EXPECT_NE(stream.find(u8"id: 2\nevent: collected\ndata: {\"finger\":\"左手无名指\",\"slot\":3}"), std::string::npos)
        << stream;
    // A reloaded page resumes after the last number it saw.
    const std::string resumed = Events("1", 1);
    EXPECT_EQ(resumed.find("event: ready"), std::string::npos) << resumed;
    EXPECT_NE(resumed.find("id: 2\nevent: collected"), std::string::npos) << resumed;

    auto finger = Get("/v1/fingers/3", Page());
    ASSERT_TRUE(finger);
    EXPECT_EQ(finger->status, 200);
    std::string onDisk;
    ASSERT_TRUE(ReadWholeFile(bitmap, onDisk));
    EXPECT_EQ(finger->body, onDisk);
    EXPECT_EQ(finger->get_header_value("Content-Type"), "image/bmp");
    EXPECT_EQ(finger->get_header_value("Cache-Control"), "no-store");
    auto jpeg = Get("/v1/fingers/3?format=jpeg", Page());
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->status, 200);
    EXPECT_EQ(jpeg->body.substr(0, 2), "\xFF\xD8");
    EXPECT_EQ(Get("/v1/fingers/4", Page())->status, 404);
    EXPECT_EQ(Get("/v1/fingers/3?format=gif", Page())->status, 400);

    auto info = Get("/v1/info", Page());
    const auto state = nlohmann::json::parse(info->body);
    EXPECT_EQ(state["slots"], nlohmann::json::array({3}));
    EXPECT_EQ(state["person"]["name"], std::string(u8"张三"));

    EXPECT_EQ(Post("/v1/station/close", "", Page())->status, 200);
    EXPECT_EQ(Get("/v1/fingers/3", Page())->status, 404);
    std::remove(bitmap.c_str());
    EXPECT_EQ(station.Calls, std::vector<std::string>({"open", "person", "close"}));
    EXPECT_TRUE(logged.empty());
}

TEST_F(ServiceRoutesTest, RefusedRequestsChangeNothingAndAreLoggedOnce) {
    const httplib::Headers stranger{{"Origin", "https://evil.example"}};
    auto refused = Post("/v1/station/open", "", stranger);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->status, 403);
    EXPECT_FALSE(refused->has_header("Access-Control-Allow-Origin"));
    EXPECT_EQ(Post("/v1/station/open", "", stranger)->status, 403);
    EXPECT_EQ(Get("/v1/info", stranger)->status, 403);

    httplib::Headers rebinding = Page();
    rebinding.emplace("Host", "attacker.example:" + std::to_string(server.Port()));
    EXPECT_EQ(Post("/v1/station/open", "", rebinding)->status, 403);

    EXPECT_EQ(Post("/v1/station/open", "", {})->status, 403);  // a tool, not allowed to act
    EXPECT_EQ(Get("/v1/info", {})->status, 200);               // but may read the state

    EXPECT_EQ(Post("/v1/person", R"({"key":"1","name":)", Page())->status, 400);
    EXPECT_EQ(Post("/v1/person", R"({"key":1,"name":"x"})", Page())->status, 400);
    EXPECT_EQ(Post("/v1/person", "[]", Page())->status, 400);
    auto tooLarge = Post("/v1/person", std::string(64 * 1024, ' '), Page());
    ASSERT_TRUE(tooLarge);
    EXPECT_EQ(tooLarge->status, 413);
    EXPECT_NE(tooLarge->body.find("error"), std::string::npos);

    httplib::Headers badResume = Page();
    badResume.emplace("Last-Event-ID", "x1");
    EXPECT_EQ(Get("/v1/events", badResume)->status, 400);

    EXPECT_TRUE(station.Calls.empty());
    // Two kinds of refusal from the stranger (same reason), one rebinding, one tool.
    EXPECT_EQ(logged.size(), 3u);
    ASSERT_FALSE(logged.empty());
    EXPECT_NE(logged[0].find("https://evil.example"), std::string::npos) << logged[0];
}

TEST_F(ServiceRoutesTest, PreflightOfAListedPageIsAnsweredWithPrivateNetwork) {
    httplib::Headers preflight = Page();
    preflight.emplace("Access-Control-Request-Method", "POST");
    preflight.emplace("Access-Control-Request-Private-Network", "true");
    auto answer = Pumped([&] { return Client().Options("/v1/person", preflight); });
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 204);
    EXPECT_EQ(answer->get_header_value("Access-Control-Allow-Private-Network"), "true");
    preflight.erase("Origin");
    preflight.emplace("Origin", "https://evil.example");
    auto refused = Pumped([&] { return Client().Options("/v1/person", preflight); });
    EXPECT_EQ(refused->status, 403);
    EXPECT_FALSE(refused->has_header("Access-Control-Allow-Private-Network"));
}

TEST_F(ServiceRoutesTest, StationRefusalReachesThePageWithItsReason) {
    EXPECT_EQ(Post("/v1/person", R"({"key":"1","name":"x"})", Page())->status, 409);
    Post("/v1/station/open", "", Page());
    auto refused = Post("/v1/person", R"({"key":"1$2","name":"x"})", Page());
    EXPECT_EQ(refused->status, 400);
    EXPECT_EQ(nlohmann::json::parse(refused->body)["error"], "key contains $");
}

}  // namespace
