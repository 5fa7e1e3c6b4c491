// The HTTP server on the loopback address, asynchronous on one thread (a
// second only accepts connections): an idle or slow caller costs a socket and
// a few hundred bytes, never a thread, so a thousand of them cannot delay a page. Every request has one deadline
// for its whole header and body, the header and body are capped whatever
// their framing, and an answer that refuses or fails ends its connection, so
// nothing sent after a refused header is ever read as a request. Commands
// that wait for the station run on a few workers of their own, downloads
// that compress fingers on a few encoders of theirs.
#pragma once

#include "service/HttpExchange.h"

#include <chrono>
#include <memory>
#include <string>

struct ServerLimits {
    size_t MaxHeader = 16 * 1024;
    size_t MaxBody = 16 * 1024;
    // From a connection's start, or the end of its last answer, until the
    // next request is read whole: the idle and the slow caller alike.
    std::chrono::milliseconds RequestDeadline{5000};
    std::chrono::milliseconds WriteDeadline{5000};
    // A quiet event stream gets a comment line this often; a stream whose
    // page has not read for as long is ended.
    std::chrono::milliseconds StreamKeepAlive{10000};
    // Beyond this many connections, accepting waits until one ends.
    size_t MaxConnections = 4000;
    size_t Workers = 2;
    // Downloads compressed for pages: apart from the workers, so that a command
    // waiting for the station delays no finger, and a burst of records no command.
    size_t Encoders = 2;
};

class HttpServer {
public:
    explicit HttpServer(HttpRoutes& routes, ServerLimits limits = ServerLimits());
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds 127.0.0.1:port, never another address (port 0: any free one).
    // False with the system's reason when the port is taken or cannot be bound.
    bool Bind(int port, std::string& error);
    int Port() const { return port_; }
    // Serves on threads of its own until Stop.
    void Start();
    // Ends every connection at once, whatever its callers do.
    void Stop();

    struct Core;

private:
    std::unique_ptr<Core> core_;
    int port_ = 0;
};
