// What a connection of the HTTP server shares with the server: its thread's
// context, the workers and encoders, the routes and limits, and its place in the count
// of connections (held while the connection lives, released when it ends).
#pragma once

#include "service/HttpExchange.h"
#include "service/HttpServer.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/thread_pool.hpp>

#include <memory>

struct ServerContext {
    boost::asio::io_context& Io;
    boost::asio::thread_pool& Workers;
    boost::asio::thread_pool& Encoders;
    HttpRoutes& Routes;
    const ServerLimits& Limits;
};

using ConnectionPlace = std::shared_ptr<void>;
