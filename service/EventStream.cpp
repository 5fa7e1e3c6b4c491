// Writing a page's events as they come.
#include "service/EventStream.h"

#include <boost/asio/post.hpp>
#include <boost/asio/write.hpp>

namespace asio = boost::asio;

namespace {

std::string Frame(const ServiceEvent& event) {
    return "id: " + event.Id + "\nevent: " + event.Name + "\ndata: " + event.Data + "\n\n";
}

}  // namespace

EventStream::EventStream(const ServerContext& server, asio::ip::tcp::socket socket,
                         std::shared_ptr<EventSubscription> subscription, ConnectionPlace place)
    : server_(server),
      socket_(std::move(socket)),
      timer_(server.Io),
      subscription_(std::move(subscription)),
      place_(std::move(place)) {}

void EventStream::Start(const HeaderList& headers) {
    // The stream ends with its connection: no length, no chunks to frame.
    pending_ =
        "HTTP/1.1 200 OK\r\nContent-Type: text/event-stream\r\nCache-Control: no-store\r\nConnection: close\r\n";
    for (const auto& header : headers) pending_ += header.first + ": " + header.second + "\r\n";
    // A stream ended to make room for a newer one comes back after a second.
    pending_ += "\r\nretry: 1000\n\n";
    std::weak_ptr<EventStream> weak = shared_from_this();
    auto executor = server_.Io.get_executor();
    subscription_->SetWaker([weak, executor] {
        asio::post(executor, [weak] {
            if (auto self = weak.lock()) self->Pump();
        });
    });
    Pump();
    WatchPeer();
    Tick();
}

void EventStream::Pump() {
    if (ended_ || busy_) return;
    ServiceEvent event;
    for (;;) {
        const EventSubscription::Take taken = subscription_->Next(event);
        if (taken == EventSubscription::Take::Empty) break;
        if (taken == EventSubscription::Take::Ended) {
            ending_ = true;
            break;
        }
        pending_ += Frame(event);
    }
    if (pending_.empty()) {
        if (ending_) End();
        return;
    }
    busy_ = true;
    writing_.swap(pending_);
    pending_.clear();
    writeStarted_ = std::chrono::steady_clock::now();
    asio::async_write(socket_, asio::buffer(writing_),
                      [self = shared_from_this()](const boost::system::error_code& error, size_t) {
                          self->Written(error);
                      });
}

void EventStream::Written(const boost::system::error_code& error) {
    busy_ = false;
    writing_.clear();
    if (error) return End();
    Pump();
}

void EventStream::WatchPeer() {
    // A page sends nothing on its stream; what it sends is dropped, and the
    // read's failure is the page going away.
    socket_.async_read_some(asio::buffer(discard_),
                            [self = shared_from_this()](const boost::system::error_code& error, size_t) {
                                if (error) return self->End();
                                self->WatchPeer();
                            });
}

void EventStream::Tick() {
    timer_.expires_after(server_.Limits.StreamKeepAlive);
    timer_.async_wait([self = shared_from_this()](const boost::system::error_code& error) {
        if (error || self->ended_) return;
        if (self->busy_) {
            // A page that reads nothing for so long holds memory for nothing.
            if (std::chrono::steady_clock::now() - self->writeStarted_ >= self->server_.Limits.StreamKeepAlive)
                return self->End();
        } else if (self->pending_.empty()) {
            self->pending_ = ": idle\n\n";
            self->Pump();
        }
        self->Tick();
    });
}

void EventStream::End() {
    if (ended_) return;
    ended_ = true;
    boost::system::error_code ignored;
    timer_.cancel();
    socket_.shutdown(asio::ip::tcp::socket::shutdown_both, ignored);
    socket_.close(ignored);
    subscription_->SetWaker(nullptr);
    subscription_.reset();
    place_.reset();
}
