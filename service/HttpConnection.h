// One connection's requests, one after the other: the header read within
// the request's deadline and judged before any of the body is read, the
// body capped whatever its framing, the route's answer (from a worker when
// it waits for the station) written within its own deadline. A refusal or
// failure ends the connection after its answer: the rest of what the caller
// sent is read and dropped, never parsed. An event stream takes the
// connection over.
#pragma once

#include "service/HttpExchange.h"
#include "service/ServerContext.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/beast/core/flat_buffer.hpp>
#include <boost/beast/core/tcp_stream.hpp>
#include <boost/beast/http/message.hpp>
#include <boost/beast/http/parser.hpp>
#include <boost/beast/http/string_body.hpp>

#include <memory>
#include <optional>

class HttpConnection : public std::enable_shared_from_this<HttpConnection> {
public:
    HttpConnection(const ServerContext& server, boost::asio::ip::tcp::socket socket, ConnectionPlace place);

    void Start() { ReadHeader(); }

private:
    using Parser = boost::beast::http::request_parser<boost::beast::http::string_body>;
    using Response = boost::beast::http::response<boost::beast::http::string_body>;

    void ReadHeader();
    void HeaderRead(const boost::system::error_code& error);
    void BodyRead(const boost::system::error_code& error);
    void Route();
    void Send(HttpAnswer answer);
    void Sent(const boost::system::error_code& error, bool keepAlive);
    // Stops sending, drops what the caller still sends for a moment, closes.
    void Linger();
    void DropMore(size_t dropped);
    void FailRead(const boost::system::error_code& error);

    const ServerContext& server_;
    boost::beast::tcp_stream stream_;
    boost::beast::flat_buffer buffer_;
    std::optional<Parser> parser_;
    HttpRequest request_;
    std::shared_ptr<Response> response_;
    ConnectionPlace place_;
};
