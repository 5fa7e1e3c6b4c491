// The loopback HTTP server and its limits.
#include "service/WebServer.h"

#include "service/BoundedWorkers.h"

#include <httplib.h>

WebServer::WebServer(ServerLimits limits) : server_(new httplib::Server) {
    server_->new_task_queue = [limits] { return new BoundedWorkers(limits.Workers, limits.WaitingConnections); };
    server_->set_payload_max_length(limits.MaxBody);
    server_->set_read_timeout(limits.ReadTimeoutSeconds, 0);
    server_->set_write_timeout(limits.WriteTimeoutSeconds, 0);
    server_->set_keep_alive_timeout(limits.KeepAliveSeconds);
    server_->set_keep_alive_max_count(limits.KeepAliveRequests);
}

WebServer::~WebServer() { Stop(); }

bool WebServer::Bind(int port, std::string& error) {
    WSASetLastError(0);
    port_ = port ? (server_->bind_to_port("127.0.0.1", port) ? port : -1) : server_->bind_to_any_port("127.0.0.1");
    if (port_ > 0) return true;
    const int code = WSAGetLastError();
    error = "WSA error " + std::to_string(code);
    if (code == WSAEADDRINUSE || code == WSAEACCES) error = "port in use (" + error + ")";
    return false;
}

void WebServer::Start() {
    thread_ = std::thread([this] { server_->listen_after_bind(); });
}

void WebServer::Stop() {
    server_->stop();
    if (thread_.joinable()) thread_.join();
}
