// One page's event stream (Server-Sent Events) on a connection of its own:
// the answer's head, then each event as the history queues it, a comment
// line when the stream is quiet, and the end of the stream when the
// subscription ends. A read is always waiting on the socket, so a page that
// goes away is noticed as soon as its socket closes and its place freed.
#pragma once

#include "service/EventHistory.h"
#include "service/HttpExchange.h"
#include "service/ServerContext.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/steady_timer.hpp>

#include <array>
#include <chrono>
#include <memory>
#include <string>

class EventStream : public std::enable_shared_from_this<EventStream> {
public:
    EventStream(const ServerContext& server, boost::asio::ip::tcp::socket socket,
                std::shared_ptr<EventSubscription> subscription, ConnectionPlace place);

    void Start(const HeaderList& headers);

private:
    void Pump();
    void Written(const boost::system::error_code& error);
    void WatchPeer();
    void Tick();
    void End();

    const ServerContext& server_;
    boost::asio::ip::tcp::socket socket_;
    boost::asio::steady_timer timer_;
    std::shared_ptr<EventSubscription> subscription_;
    ConnectionPlace place_;
    std::string writing_;  // the bytes of the write in flight
    std::string pending_;  // what waits for it to finish
    std::chrono::steady_clock::time_point writeStarted_;
    bool busy_ = false;
    bool ending_ = false;
    bool ended_ = false;
    std::array<char, 512> discard_;
};
