// The HTTP server on the loopback address, with the limits that keep a
// careless or hostile caller from tying it up: header and body sizes, a
// bounded number of workers and waiting connections, and timeouts for idle
// and slow clients.
#pragma once

#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

struct ServerLimits {
    size_t Workers = 24;
    size_t WaitingConnections = 64;
    size_t MaxBody = 16 * 1024;
    int ReadTimeoutSeconds = 5;
    int WriteTimeoutSeconds = 5;
    int KeepAliveSeconds = 5;
    size_t KeepAliveRequests = 100;
};

class WebServer {
public:
    explicit WebServer(ServerLimits limits = ServerLimits());
    ~WebServer();
    WebServer(const WebServer&) = delete;
    WebServer& operator=(const WebServer&) = delete;

    httplib::Server& Server() { return *server_; }

    // Binds 127.0.0.1:port, never another address (port 0: any free one).
    // False with the system's reason when the port is taken or cannot be bound.
    bool Bind(int port, std::string& error);
    int Port() const { return port_; }
    // Serves on a thread of its own until Stop.
    void Start();
    void Stop();

private:
    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
};
