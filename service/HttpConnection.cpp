// Reading requests, judging them and writing their answers.
#include "service/HttpConnection.h"

#include "service/EventStream.h"

#include <boost/asio/post.hpp>
#include <boost/beast/http/error.hpp>
#include <boost/beast/http/read.hpp>
#include <boost/beast/http/write.hpp>

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = boost::beast::http;

namespace {

// What a refused caller may still send after its answer, and for how long,
// before the connection is closed under it: closing with unread bytes would
// reset the connection and could cost the caller the answer.
constexpr size_t kDroppedAtMost = 64 * 1024;
constexpr std::chrono::milliseconds kLingering{1000};

HttpRequest RequestOf(const http::request<http::string_body>& message) {
    HttpRequest request;
    request.Method = std::string(message.method_string());
    const std::string target(message.target());
    const size_t question = target.find('?');
    request.Path = target.substr(0, question);
    if (question != std::string::npos) request.Query = target.substr(question + 1);
    for (const auto& field : message) request.Headers.push_back({std::string(field.name_string()), std::string(field.value())});
    return request;
}

}  // namespace

HttpConnection::HttpConnection(const ServerContext& server, asio::ip::tcp::socket socket, ConnectionPlace place)
    : server_(server), stream_(std::move(socket)), place_(std::move(place)) {}

void HttpConnection::ReadHeader() {
    parser_.emplace();
    parser_->header_limit(static_cast<std::uint32_t>(server_.Limits.MaxHeader));
    parser_->body_limit(server_.Limits.MaxBody);
    request_ = HttpRequest();
    // One deadline for the wait, the header and the body together.
    stream_.expires_after(server_.Limits.RequestDeadline);
    http::async_read_header(stream_, buffer_, *parser_,
                            [self = shared_from_this()](const boost::system::error_code& error, size_t) {
                                self->HeaderRead(error);
                            });
}

void HttpConnection::FailRead(const boost::system::error_code& error) {
    if (error == http::error::header_limit) return Send(ErrorAnswer(431, "request header too large"));
    if (error == http::error::body_limit) return Send(ErrorAnswer(413, "body too large"));
    const boost::system::error_code endOfStream = http::error::end_of_stream;
    if (error.category() == endOfStream.category() && error != endOfStream &&
        error != http::error::partial_message) {
        return Send(ErrorAnswer(400, "malformed request"));
    }
    // The caller went away or ran out of time: nobody to answer.
    boost::system::error_code ignored;
    stream_.socket().close(ignored);
}

void HttpConnection::HeaderRead(const boost::system::error_code& error) {
    if (error) return FailRead(error);
    request_ = RequestOf(parser_->get());
    const HttpAnswer admitted = server_.Routes.Admit(request_);
    if (admitted.Status != 0) return Send(admitted);
    if (parser_->chunked()) return Send(ErrorAnswer(411, "a body needs a Content-Length"));
    if (parser_->content_length() && *parser_->content_length() > server_.Limits.MaxBody) {
        return Send(ErrorAnswer(413, "body too large"));
    }
    if (parser_->is_done()) return Route();
    http::async_read(stream_, buffer_, *parser_,
                     [self = shared_from_this()](const boost::system::error_code& error, size_t) {
                         self->BodyRead(error);
                     });
}

void HttpConnection::BodyRead(const boost::system::error_code& error) {
    if (error) return FailRead(error);
    request_.Body = std::move(parser_->get().body());
    Route();
}

void HttpConnection::Route() {
    RoutePlan plan;
    try {
        plan = server_.Routes.Plan(request_);
    } catch (const std::exception&) {
        return Send(ErrorAnswer(500, "internal error"));
    }
    switch (plan.Plan) {
    case RoutePlan::Kind::Answer:
        for (auto& header : plan.Headers) plan.Answer.Headers.push_back(std::move(header));
        return Send(std::move(plan.Answer));
    case RoutePlan::Kind::Work:
    case RoutePlan::Kind::Encode:
        // The answer comes back to this thread; meanwhile the connection reads nothing.
        asio::post(plan.Plan == RoutePlan::Kind::Work ? server_.Workers : server_.Encoders, [self = shared_from_this(), work = std::move(plan.Work),
                                     headers = std::move(plan.Headers)]() mutable {
            HttpAnswer answer;
            try {
                answer = work();
            } catch (const std::exception&) {
                answer = ErrorAnswer(500, "internal error");
            }
            for (auto& header : headers) answer.Headers.push_back(std::move(header));
            asio::post(self->server_.Io,
                       [self, answer = std::move(answer)]() mutable { self->Send(std::move(answer)); });
        });
        return;
    case RoutePlan::Kind::Events: {
        stream_.expires_never();
        auto events = std::make_shared<EventStream>(server_, stream_.release_socket(), std::move(plan.Events),
                                                    std::move(place_));
        events->Start(plan.Headers);
        return;
    }
    }
}

void HttpConnection::Send(HttpAnswer answer) {
    // Only an answer that went well, to a request read whole, keeps the
    // connection for another request: a body left unread must never be
    // taken for the next request.
    const bool keepAlive = answer.Status < 400 && parser_ && parser_->is_done() && parser_->get().keep_alive();
    response_ = std::make_shared<Response>(static_cast<http::status>(answer.Status), 11);
    if (!answer.ContentType.empty()) response_->set(http::field::content_type, answer.ContentType);
    for (const auto& header : answer.Headers) response_->set(header.first, header.second);
    response_->body() = std::move(answer.Body);
    response_->keep_alive(keepAlive);
    response_->prepare_payload();
    stream_.expires_after(server_.Limits.WriteDeadline);
    http::async_write(stream_, *response_,
                      [self = shared_from_this(), keepAlive](const boost::system::error_code& error, size_t) {
                          self->Sent(error, keepAlive);
                      });
}

void HttpConnection::Sent(const boost::system::error_code& error, bool keepAlive) {
    response_.reset();
    if (error) {
        boost::system::error_code ignored;
        stream_.socket().close(ignored);
        return;
    }
    if (keepAlive) return ReadHeader();
    Linger();
}

void HttpConnection::Linger() {
    boost::system::error_code ignored;
    stream_.socket().shutdown(asio::ip::tcp::socket::shutdown_send, ignored);
    buffer_.clear();
    stream_.expires_after(kLingering);
    DropMore(0);
}

void HttpConnection::DropMore(size_t dropped) {
    if (dropped >= kDroppedAtMost) {
        boost::system::error_code ignored;
        stream_.socket().close(ignored);
        return;
    }
    stream_.async_read_some(buffer_.prepare(4096),
                            [self = shared_from_this(), dropped](const boost::system::error_code& error, size_t size) {
                                if (error) {
                                    boost::system::error_code ignored;
                                    self->stream_.socket().close(ignored);
                                    return;
                                }
                                self->DropMore(dropped + size);
                            });
}
