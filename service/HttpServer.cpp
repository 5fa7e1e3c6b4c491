// Accepting connections on the loopback address, and the server's thread.
#include "service/HttpServer.h"

#include "service/HttpConnection.h"
#include "service/ServerContext.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/steady_timer.hpp>

#include <atomic>
#include <thread>

namespace asio = boost::asio;
using asio::ip::tcp;

struct HttpServer::Core {
    Core(HttpRoutes& routes, ServerLimits limits)
        : limits(limits), workers(limits.Workers), acceptor(io), context{io, workers, routes, this->limits} {}

    void Accept();
    void Accepted(const boost::system::error_code& error, tcp::socket socket);
    void Refill();
    void Left();

    const ServerLimits limits;
    // Set before the context goes: connections then end without posting back.
    std::atomic<bool> stopping{false};
    asio::io_context io;
    asio::thread_pool workers;
    tcp::acceptor acceptor;
    ServerContext context;
    std::thread thread;
    // On the server's thread only.
    size_t connections = 0;
    bool accepting = false;
    // A failed accept (no handles left) is tried again a little later, not at once in a loop.
    asio::steady_timer retry{io};
};

void HttpServer::Core::Accept() {
    accepting = true;
    acceptor.async_accept(
        [this](const boost::system::error_code& error, tcp::socket socket) { Accepted(error, std::move(socket)); });
}

void HttpServer::Core::Accepted(const boost::system::error_code& error, tcp::socket socket) {
    accepting = false;
    if (error == asio::error::operation_aborted || !acceptor.is_open()) return;
    if (error) {
        accepting = true;
        retry.expires_after(std::chrono::milliseconds(100));
        retry.async_wait([this](const boost::system::error_code&) {
            accepting = false;
            Refill();
        });
        return;
    }
    ++connections;
    // The place is given back on this thread, whichever thread lets the connection go.
    ConnectionPlace place(nullptr, [this](void*) {
        if (!stopping) asio::post(io, [this] { Left(); });
    });
    std::make_shared<HttpConnection>(context, std::move(socket), std::move(place))->Start();
    Refill();
}

void HttpServer::Core::Refill() {
    // Past the bound, callers wait in the system's backlog until a connection ends.
    if (acceptor.is_open() && !accepting && connections < limits.MaxConnections) Accept();
}

void HttpServer::Core::Left() {
    --connections;
    Refill();
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
    asio::post(core.io, [&core] { core.Refill(); });
    core.thread = std::thread([&core] {
        // The acceptor keeps the context busy until Stop.
        auto busy = asio::make_work_guard(core.io);
        core.io.run();
    });
}

void HttpServer::Stop() {
    if (!core_) return;
    Core& core = *core_;
    core.stopping = true;
    core.io.stop();
    if (core.thread.joinable()) core.thread.join();
    core.workers.stop();
    core.workers.join();
    // Every connection, waiting handler and socket goes with the context.
    core_.reset();
}
