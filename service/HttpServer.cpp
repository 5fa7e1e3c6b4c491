// Accepting connections on the loopback address, and the server's thread.
#include "service/HttpServer.h"

#include "service/HttpConnection.h"
#include "service/ServerContext.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>

#include <winsock2.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace asio = boost::asio;
using asio::ip::tcp;

struct HttpServer::Core {
    Core(HttpRoutes& routes, ServerLimits limits)
        : limits(limits),
          workers(limits.Workers),
          encoders(limits.Encoders),
          acceptor(io),
          context{io, workers, encoders, routes, this->limits} {}

    void AcceptAll();
    void Left();

    const ServerLimits limits;
    std::atomic<bool> stopping{false};
    // Outlive the context: connections it destroys give their places back.
    std::mutex placesMutex;
    std::condition_variable placesFreed;
    size_t connections = 0;  // guarded by placesMutex

    asio::io_context io;
    asio::thread_pool workers;
    asio::thread_pool encoders;
    tcp::acceptor acceptor;
    ServerContext context;
    std::thread thread;
    std::thread acceptThread;
};

// Connections are accepted on a thread of their own with the plain, blocking
// call and handed to the server's thread: under Wine an overlapped accept
// costs about a millisecond per connection, a plain one a few microseconds,
// and a burst of a thousand connections would keep a page's waiting behind
// them for a second.
void HttpServer::Core::AcceptAll() {
    for (;;) {
        {
            // Past the bound, callers wait in the system's backlog until a connection ends.
            std::unique_lock<std::mutex> lock(placesMutex);
            placesFreed.wait(lock, [this] { return stopping || connections < limits.MaxConnections; });
            if (stopping) return;
            ++connections;
        }
        ConnectionPlace place(nullptr, [this](void*) { Left(); });
        tcp::socket socket(io);
        boost::system::error_code failure;
        acceptor.accept(socket, failure);
        if (stopping) {
            // Most likely Stop's own connection: closed after its caller closed it,
            // so that the port is left without a connection waiting out its close.
            // It may be any caller's that came just before, though, which need not
            // ever close and may keep sending: the wait is bounded, in all.
            const DWORD waitAtMost = 500;
            ::setsockopt(socket.native_handle(), SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&waitAtMost),
                         sizeof waitAtMost);
            const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitAtMost);
            char bytes[512];
            while (!failure && std::chrono::steady_clock::now() < until &&
                   socket.receive(asio::buffer(bytes), 0, failure) > 0) {
            }
            return;
        }
        if (failure) {
            // No handles left, for instance: tried again a little later, not at once in a loop.
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            continue;
        }
        asio::post(io, [this, socket = std::move(socket), place = std::move(place)]() mutable {
            std::make_shared<HttpConnection>(context, std::move(socket), std::move(place))->Start();
        });
    }
}

void HttpServer::Core::Left() {
    {
        std::lock_guard<std::mutex> lock(placesMutex);
        --connections;
    }
    placesFreed.notify_one();
}

HttpServer::HttpServer(HttpRoutes& routes, ServerLimits limits) : core_(new Core(routes, limits)) {}

HttpServer::~HttpServer() { Stop(); }

bool HttpServer::Bind(int port, std::string& error) {
    boost::system::error_code code;
    const tcp::endpoint endpoint(asio::ip::address_v4::loopback(), static_cast<unsigned short>(port));
    core_->acceptor.open(endpoint.protocol(), code);
    if (!code) core_->acceptor.bind(endpoint, code);
    if (!code) core_->acceptor.listen(asio::socket_base::max_listen_connections, code);
    if (code) {
        boost::system::error_code ignored;
        core_->acceptor.close(ignored);
        error = "WSA error " + std::to_string(code.value());
        if (code == asio::error::address_in_use || code == asio::error::access_denied) error = "port in use (" + error + ")";
        port_ = -1;
        return false;
    }
    port_ = core_->acceptor.local_endpoint().port();
    return true;
}

void HttpServer::Start() {
    Core& core = *core_;
    core.thread = std::thread([&core] {
        // Kept running until Stop, with or without connections.
        auto busy = asio::make_work_guard(core.io);
        core.io.run();
    });
    core.acceptThread = std::thread([&core] { core.AcceptAll(); });
}

void HttpServer::Stop() {
    if (!core_) return;
    Core& core = *core_;
    core.stopping = true;
    {
        std::lock_guard<std::mutex> lock(core.placesMutex);
    }
    core.placesFreed.notify_all();
    if (core.acceptThread.joinable()) {
        // A connection of its own ends the accept the thread waits in.
        asio::io_context local;
        tcp::socket wake(local);
        boost::system::error_code ignored;
        wake.connect(tcp::endpoint(asio::ip::address_v4::loopback(), static_cast<unsigned short>(port_)), ignored);
        wake.close(ignored);
        core.acceptThread.join();
    }
    core.io.stop();
    if (core.thread.joinable()) core.thread.join();
    core.workers.stop();
    core.encoders.stop();
    core.workers.join();
    core.encoders.join();
    // Every connection, waiting handler and socket goes with the context.
    core_.reset();
}
