// What the web service adds between the station and a page: the time from the
// station's collected notification (the link calls the service on its own
// thread while the station waits) to the event's frame arriving at an HTTP
// client listening on /v1/events over the loopback connection, and a 640 x 640
// finger as JPEG: its size and the time to read and compress it. The browser's
// own delivery to the page's script is not included. Prints figures; not a test.
#include "FakeStation.h"
#include "TestBitmap.h"
#include "service/FingerImage.h"
#include "TestHttpClient.h"
#include "service/HttpServer.h"
#include "service/ServiceRoutes.h"

#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr int kSide = 640;
constexpr int kRounds = 50;
const char* const kSite = "http://127.0.0.1:8080";

double Now() {
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

int FreePort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(probe);
    return ntohs(address.sin_port);
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

// Ridges like a rolled finger's inside an oval, white around it, so that the JPEG's size is a finger's.
int FingerLevel(int x, int y) {
    const double dx = (x - kSide / 2) / 220.0, dy = (y - kSide / 2) / 300.0;
    const double r = std::sqrt(dx * dx + dy * dy);
    return r > 1.0 ? 255 : static_cast<int>(128 + 100 * std::sin(r * 140 + x * 0.02));
}

void Report(const char* what, std::vector<double> values, const char* unit) {
    std::sort(values.begin(), values.end());
    std::printf("%-44s median %8.3f %s   min %8.3f   max %8.3f   (%zu rounds)\n", what, values[values.size() / 2], unit,
                values.front(), values.back(), values.size());
}

}  // namespace

int main() {
    const std::string finger = WriteGreyBitmap("kv90_service_bench.bmp", kSide, FingerLevel);

    FakeStation station;
    EventHistory events(64, 64, 4, "bench");
    StationDesk desk(station, events);
    RefusalLog refusals([](const std::string&) {});
    // The service's own port is taken only for the moment of finding a free one.
    ServiceConfig config;
    config.Port = FreePort();
    config.AllowedOrigins = {kSite};
    const CallerPolicy policy(config);
    ServiceRoutes routes(policy, desk, events, refusals, "bench");
    HttpServer server(routes);
    std::string error;
    if (!server.Bind(config.Port, error)) {
        std::printf("cannot listen: %s\n", error.c_str());
        return 1;
    }
    server.Start();
    desk.Open();  // on this thread, as the link runs it

    // A listener that notes when each collected frame has arrived.
    std::atomic<int> arrived{0};
    std::vector<double> arrivals(kRounds);
    std::thread listener([&] {
        size_t scanned = 0;
        TestHttpClient(server.Port()).Listen({{"Origin", kSite}, {"Last-Event-ID", "bench-1"}}, [&](const std::string& all) {
            size_t at;
            while ((at = all.find("event: collected", scanned)) != std::string::npos) {
                arrivals[arrived] = Now();
                ++arrived;
                scanned = at + 1;
            }
            return arrived >= kRounds;
        });
    });
    while (events.Listeners() == 0) Sleep(1);

    std::vector<double> latency;
    for (int round = 0; round < kRounds; ++round) {
        const double sent = Now();
        station.Collect(round % 10, finger);
        while (arrived <= round) {
            Pump();
            Sleep(0);
        }
        latency.push_back(arrivals[round] - sent);
    }
    listener.join();
    Report("collected notification -> event at client", latency, "ms");

    std::vector<double> jpegTimes;
    size_t size = 0;
    for (int round = 0; round < 20; ++round) {
        std::string jpeg;
        const double start = Now();
        if (!BitmapFileToJpeg(finger, 90, jpeg, error)) {
            std::printf("JPEG failed: %s\n", error.c_str());
            return 1;
        }
        jpegTimes.push_back(Now() - start);
        size = jpeg.size();
    }
    Report("640x640 finger read and compressed (q 90)", jpegTimes, "ms");
    std::string bitmap;
    ReadWholeFile(finger, bitmap);
    std::printf("%-44s %zu bytes (bitmap %zu bytes)\n", "JPEG size", size, bitmap.size());

    desk.Stop();
    events.Shutdown();
    server.Stop();
    DeleteFileA(finger.c_str());
    return 0;
}
