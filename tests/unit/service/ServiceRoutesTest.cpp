// The routes over real loopback connections, with a stand-in station: a page's
// flow, the requests that must change nothing, and callers that try to slip a
// request past the check or hold the server.
#include "RoutesFixture.h"
#include "TestBitmap.h"
#include "framework/JpegCodec.h"
#include "service/FingerImage.h"

#include <nlohmann/json.hpp>

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <future>
#include <memory>
#include <vector>

namespace {

// Decoded rows, top first, as grey levels (the blue byte of a grey picture).
std::vector<std::vector<int>> DecodeGrey(const std::string& jpeg) {
    std::vector<unsigned char> pixels;
    int width = 0, height = 0;
    jpegcodec::DecodeBgr(jpeg, [&](int w, int h) {
        width = w;
        height = h;
        pixels.resize(static_cast<size_t>(w) * h * 3);
        return jpegcodec::BgrTarget{pixels.data(), static_cast<std::ptrdiff_t>(w) * 3, w, h};
    });
    std::vector<std::vector<int>> rows(height, std::vector<int>(width));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) rows[y][x] = pixels[(static_cast<size_t>(y) * width + x) * 3];
    return rows;
}

TEST_F(ServiceRoutesTest, PageOpensNamesGetsEventsAndFingers) {
    auto opened = Post("/v1/station/open", "", Page());
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.Status, 200) << opened.Body;
    EXPECT_EQ(opened.Header("Access-Control-Allow-Origin"), kSite);
    EXPECT_EQ(opened.Header("Cache-Control"), "no-store");
    EXPECT_EQ(nlohmann::json::parse(opened.Body)["state"], "ready");

    auto named = Post("/v1/person", u8R"({"key":"110101","name":"张三"})", Page());
    ASSERT_TRUE(named);
    EXPECT_EQ(named.Status, 200) << named.Body;

    // Rows of the bitmap darker towards its top: a picture turned over shows.
    const int side = 16;
    const auto level = [side](int, int y) { return 40 + y * 10; };
    const std::string bitmap = WriteGreyBitmap("kv90_service_slot.bmp", side, level);
    station.Collect(3, bitmap);
    const std::string stream = Events("", 3);
    EXPECT_NE(stream.find("id: run7-1\nevent: ready\n"), std::string::npos) << stream;
    EXPECT_NE(stream.find(u8"id: run7-2\nevent: person\ndata: {\"key\":\"110101\",\"name\":\"张三\"}"),
              std::string::npos)
        << stream;
    EXPECT_NE(stream.find(u8"id: run7-3\nevent: collected\ndata: {\"finger\":\"左手无名指\",\"key\":\"110101\",\"slot\":3}"),
              std::string::npos)
        << stream;
    // A reloaded page resumes after the last number it saw.
    const std::string resumed = Events("run7-2", 1);
    EXPECT_EQ(resumed.find("event: ready"), std::string::npos) << resumed;
    EXPECT_NE(resumed.find("id: run7-3\nevent: collected"), std::string::npos) << resumed;

    auto finger = Get("/v1/fingers/3", Page());
    EXPECT_EQ(finger.Status, 200);
    std::string onDisk;
    ASSERT_TRUE(ReadWholeFile(bitmap, onDisk));
    EXPECT_EQ(finger.Body, onDisk);
    EXPECT_EQ(finger.Header("Content-Type"), "image/bmp");
    EXPECT_EQ(finger.Header("Cache-Control"), "no-store");
    EXPECT_EQ(Get("/v1/fingers/3?key=110101", Page()).Status, 200);
    auto jpeg = Get("/v1/fingers/3?format=jpeg&key=110101", Page());
    EXPECT_EQ(jpeg.Status, 200);
    EXPECT_EQ(jpeg.Header("Content-Type"), "image/jpeg");
    const auto rows = DecodeGrey(jpeg.Body);
    ASSERT_EQ(rows.size(), static_cast<size_t>(side));
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            ASSERT_LE(std::abs(rows[y][x] - level(x, side - 1 - y)), 12) << "at " << x << "," << y;
    EXPECT_EQ(Get("/v1/fingers/4", Page()).Status, 404);
    EXPECT_EQ(Get("/v1/fingers/3?format=gif", Page()).Status, 400);
    EXPECT_EQ(Get("/v1/fingers/31", Page()).Status, 404);

    auto info = Get("/v1/info", Page());
    const auto state = nlohmann::json::parse(info.Body);
    EXPECT_EQ(state["slots"], nlohmann::json::array({3}));
    EXPECT_EQ(state["person"]["name"], std::string(u8"张三"));

    EXPECT_EQ(Post("/v1/station/close", "", Page()).Status, 200);
    EXPECT_EQ(Get("/v1/fingers/3", Page()).Status, 404);
    std::remove(bitmap.c_str());
    EXPECT_EQ(station.Calls, std::vector<std::string>({"open", "person", "close"}));
    EXPECT_TRUE(logged.empty());
}

TEST_F(ServiceRoutesTest, FingersOfAPersonRenamedSinceAnswerConflict) {
    Post("/v1/station/open", "", Page());
    Post("/v1/person", R"({"key":"A1","name":"a"})", Page());
    const std::string bitmap = WriteGreyBitmap("kv90_service_renamed.bmp", 8, [](int x, int) { return x; });
    station.Collect(0, bitmap);
    EXPECT_EQ(Get("/v1/fingers/0?key=A1", Page()).Status, 200);
    // Another page names someone else: the first page's fetch says so, not "empty".
    EXPECT_EQ(Post("/v1/person", R"({"key":"B%2","name":"b"})", Page()).Status, 200);
    EXPECT_EQ(Get("/v1/fingers/0?key=A1", Page()).Status, 409);
    EXPECT_EQ(Get("/v1/fingers/0?key=B%252", Page()).Status, 404);
    // A key whose encoding is broken is no key of anyone's, not "no key given".
    EXPECT_EQ(Get("/v1/fingers/0?key=A%1", Page()).Status, 400);
    EXPECT_EQ(Get("/v1/person/record?key=A%zz", Page()).Status, 400);
    const std::string stream = Events("", 4);
    EXPECT_NE(stream.find(R"(event: person)" "\n" R"(data: {"key":"B%2","name":"b"})"), std::string::npos) << stream;
    std::remove(bitmap.c_str());
}

TEST_F(ServiceRoutesTest, RefusedRequestsChangeNothingAndAreLoggedOnce) {
    const TestHeaders stranger{{"Origin", "https://evil.example"}};
    auto refused = Post("/v1/station/open", "", stranger);
    EXPECT_EQ(refused.Status, 403);
    EXPECT_FALSE(refused.Has("Access-Control-Allow-Origin"));
    EXPECT_EQ(Post("/v1/station/open", "", stranger).Status, 403);
    EXPECT_EQ(Get("/v1/info", stranger).Status, 403);

    TestHeaders rebinding = Page();
    rebinding.push_back({"Host", "attacker.example:" + std::to_string(server.Port())});
    EXPECT_EQ(Post("/v1/station/open", "", rebinding).Status, 403);

    EXPECT_EQ(Post("/v1/station/open", "", {}).Status, 403);  // a tool, not allowed to act
    // It may read the state, but not whom the station is capturing.
    auto tool = Get("/v1/info", {});
    EXPECT_EQ(tool.Status, 200);
    EXPECT_EQ(tool.Header("Cache-Control"), "no-store");
    EXPECT_EQ(nlohmann::json::parse(tool.Body), nlohmann::json({{"version", "1.0.0"}, {"state", "stopped"}}));

    EXPECT_EQ(Post("/v1/person", R"({"key":"1","name":)", Page()).Status, 400);
    EXPECT_EQ(Post("/v1/person", R"({"key":1,"name":"x"})", Page()).Status, 400);
    EXPECT_EQ(Post("/v1/person", "[]", Page()).Status, 400);
    auto tooLarge = Post("/v1/person", std::string(64 * 1024, ' '), Page());
    EXPECT_EQ(tooLarge.Status, 413);
    EXPECT_NE(tooLarge.Body.find("error"), std::string::npos);

    EXPECT_TRUE(station.Calls.empty());
    // Two kinds of refusal from the stranger (same reason), one rebinding, one tool.
    EXPECT_EQ(logged.size(), 3u);
    ASSERT_FALSE(logged.empty());
    EXPECT_NE(logged[0].find("https://evil.example"), std::string::npos) << logged[0];
}

TEST_F(ServiceRoutesTest, RequestInARefusedRequestsBodyIsNeverRead) {
    const std::string host = "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
    const std::string inner = "POST /v1/station/open HTTP/1.1\r\n" + host + "Origin: " + kSite +
                              "\r\nContent-Length: 0\r\n\r\n";
    const std::string body = std::string(4200, ' ') + inner;
    const std::string smuggler = "POST /v1/station/close HTTP/1.1\r\n" + host +
                                 "Origin: https://evil.example\r\nContent-Type: text/plain\r\nContent-Length: " +
                                 std::to_string(body.size()) + "\r\n\r\n" + body;
    const auto answers = TestHttpClient::Parse(Pumped([&] { return Client().Raw(smuggler); }));
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].Status, 403);
    // A preflight answered before its body was read ends its connection too.
    const std::string preflight = "OPTIONS /v1/person HTTP/1.1\r\n" + host + "Origin: " + kSite +
                                  "\r\nAccess-Control-Request-Method: POST\r\nContent-Length: " +
                                  std::to_string(inner.size()) + "\r\n\r\n" + inner;
    const auto preflightAnswers = TestHttpClient::Parse(Pumped([&] { return Client().Raw(preflight); }));
    ASSERT_EQ(preflightAnswers.size(), 1u);
    EXPECT_EQ(preflightAnswers[0].Status, 204);
    EXPECT_TRUE(station.Calls.empty());
}

TEST_F(ServiceRoutesTest, HeadersAndBodiesAreCappedWhateverTheirFraming) {
    const std::string host = "Host: 127.0.0.1:" + std::to_string(server.Port()) + "\r\n";
    std::string flood = "GET /v1/info HTTP/1.1\r\n" + host;
    for (int line = 0; line < 400; ++line) flood += "X-Filler-" + std::to_string(line) + ": " + std::string(80, 'a') + "\r\n";
    const auto flooded = TestHttpClient::Parse(Client().Raw(flood + "\r\n"));
    ASSERT_EQ(flooded.size(), 1u);
    EXPECT_EQ(flooded[0].Status, 431);

    const std::string chunked = "POST /v1/person HTTP/1.1\r\n" + host + "Origin: " + kSite +
                                "\r\nTransfer-Encoding: chunked\r\n\r\n10\r\n{\"key\":\"1\",\"na\r\n0\r\n\r\n";
    const auto refused = TestHttpClient::Parse(Client().Raw(chunked));
    ASSERT_EQ(refused.size(), 1u);
    EXPECT_EQ(refused[0].Status, 411);
    // Range is not served: the whole state comes.
    auto ranged = Get("/v1/info", {{"Range", "bytes=" + std::string(3000, '0') + "-1"}});
    EXPECT_EQ(ranged.Status, 200);
    EXPECT_TRUE(station.Calls.empty());
}

TEST_F(ServiceRoutesTest, PreflightOfAListedPageIsAnsweredWithPrivateNetwork) {
    TestHeaders preflight = Page();
    preflight.push_back({"Access-Control-Request-Method", "POST"});
    preflight.push_back({"Access-Control-Request-Private-Network", "true"});
    auto answer = Pumped([&] { return Client().Request("OPTIONS", "/v1/person", preflight); });
    EXPECT_EQ(answer.Status, 204);
    EXPECT_EQ(answer.Header("Access-Control-Allow-Private-Network"), "true");
    preflight[0] = {"Origin", "https://evil.example"};
    auto refused = Pumped([&] { return Client().Request("OPTIONS", "/v1/person", preflight); });
    EXPECT_EQ(refused.Status, 403);
    EXPECT_FALSE(refused.Has("Access-Control-Allow-Private-Network"));
}

TEST_F(ServiceRoutesTest, StationRefusalReachesThePageWithItsReason) {
    EXPECT_EQ(Post("/v1/person", R"({"key":"1","name":"x"})", Page()).Status, 409);
    Post("/v1/station/open", "", Page());
    auto refused = Post("/v1/person", R"({"key":"1$2","name":"x"})", Page());
    EXPECT_EQ(refused.Status, 400);
    EXPECT_EQ(nlohmann::json::parse(refused.Body)["error"], "key contains $");
}

TEST_F(ServiceRoutesTest, StateIsAnsweredWhileACommandWaitsForTheStation) {
    // Nothing runs the desk's commands on this thread until the state came.
    auto opening = std::async(std::launch::async, [&] { return Client().Request("POST", "/v1/station/open", Page()); });
    auto info = Client().Request("GET", "/v1/info", Page());
    EXPECT_EQ(info.Status, 200);
    EXPECT_EQ(nlohmann::json::parse(info.Body)["state"], "stopped");
    EXPECT_EQ(Pumped([&] { return opening.get(); }).Status, 200);
}

TEST_F(ServiceRoutesTest, WaitingPageGetsAnEventWhenItIsAppended) {
    Post("/v1/station/open", "", Page());
    auto listening = std::async(std::launch::async, [&] { return Client().Events(Page(), 2); });
    // The ready event first: the stream is open and waiting when the next comes.
    while (events.Listeners() == 0) Sleep(1);
    Sleep(100);
    desk.Close();  // on this thread, as the link runs it
    const std::string stream = listening.get();
    EXPECT_NE(stream.find("event: closed"), std::string::npos) << stream;
}

TEST_F(ServiceRoutesTest, NewStreamAlwaysTakesThePlaceOfTheOldest) {
    // Four places: the fifth stream ends the first, which reconnects to resume.
    bool firstEnded = false;
    auto first = std::async(std::launch::async, [&] { return Client().Events(Page(), 1, &firstEnded); });
    while (events.Listeners() < 1) Sleep(1);
    std::vector<std::future<std::string>> others;
    for (int i = 0; i < 4; ++i) {
        others.push_back(std::async(std::launch::async, [&] { return Client().Events(Page(), 1); }));
        while (events.Listeners() < static_cast<size_t>(std::min(i + 2, 4))) Sleep(1);
    }
    const std::string ended = first.get();
    EXPECT_TRUE(firstEnded) << ended;
    EXPECT_EQ(ended.compare(0, 15, "HTTP/1.1 200 OK"), 0) << ended;
    EXPECT_NE(ended.find("retry: "), std::string::npos) << ended;
    EXPECT_EQ(events.Listeners(), 4u);
    events.Append("ready", "{}");
    for (auto& other : others) EXPECT_NE(other.get().find("event: ready"), std::string::npos);
}

}  // namespace
