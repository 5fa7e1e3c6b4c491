// The server's stop against callers that keep connecting while it stops:
// whatever the last accepted caller does, the stop ends.
#include "service/HttpServer.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

namespace {

class NoRoutes : public HttpRoutes {
public:
    HttpAnswer Admit(const HttpRequest&) override { return HttpAnswer{0, "", "", {}}; }
    RoutePlan Plan(const HttpRequest&) override {
        RoutePlan plan;
        plan.Answer = ErrorAnswer(404, "no such route");
        return plan;
    }
};

// Callers that connect as fast as they can and never close until released;
// talkative ones send a byte on each connection every tenth of a second.
class ConnectingCallers {
public:
    ConnectingCallers(int port, int threads, bool talkative) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        for (int i = 0; i < threads; ++i) threads_.emplace_back([this, port] { Connect(port); });
        if (talkative) threads_.emplace_back([this] { Talk(); });
    }
    ~ConnectingCallers() {
        Release();
        WSACleanup();
    }
    size_t Connected() {
        std::lock_guard<std::mutex> lock(mutex_);
        return sockets_.size();
    }
    void Release() {
        stop_ = true;
        for (auto& thread : threads_)
            if (thread.joinable()) thread.join();
        std::lock_guard<std::mutex> lock(mutex_);
        for (SOCKET socket : sockets_) closesocket(socket);
        sockets_.clear();
    }

private:
    void Connect(int port) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<u_short>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        while (!stop_ && Connected() < 400) {
            const SOCKET caller = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            if (caller == INVALID_SOCKET) break;
            const bool connected = connect(caller, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
            std::lock_guard<std::mutex> lock(mutex_);
            sockets_.push_back(caller);
            if (!connected) break;  // the server stopped listening
        }
    }

    void Talk() {
        while (!stop_) {
            {
                std::lock_guard<std::mutex> lock(mutex_);
                for (SOCKET socket : sockets_) send(socket, "G", 1, 0);
            }
            Sleep(100);
        }
    }

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SOCKET> sockets_;
    std::vector<std::thread> threads_;
};

TEST(HttpServerStopTest, StopEndsWhileCallersKeepConnecting) {
    // The caller accepted last may be one of the crowd rather than the stop's
    // own connection; it must not hold the stop for as long as it stays.
    NoRoutes routes;
    for (int round = 0; round < 12; ++round) {
        // Every other round, callers that keep sending: a read of theirs never times out.
        const bool talkative = round % 2 == 1;
        auto server = std::make_unique<HttpServer>(routes);
        std::string error;
        ASSERT_TRUE(server->Bind(0, error)) << error;
        server->Start();
        ConnectingCallers crowd(server->Port(), 3, talkative);
        while (crowd.Connected() < 30) Sleep(1);
        auto stopping = std::async(std::launch::async, [&server] { server->Stop(); });
        // Far beyond the second a stop may take: only a stop that waits on a caller gets here.
        const bool stopped = stopping.wait_for(std::chrono::seconds(15)) == std::future_status::ready;
        crowd.Release();  // a stop that waited on a caller ends now, and the test with it
        stopping.get();
        ASSERT_TRUE(stopped) << "round " << round << (talkative ? " (talkative)" : " (quiet)")
                             << ": the stop waited on a caller that stayed";
    }
}

}  // namespace
