// A plain blocking HTTP/1.1 client for the tests, written on Winsock apart
// from the server's own library: one request per connection, or raw bytes,
// and the answer as it came. A receive waits at most ten seconds, so that a
// server that never answers fails the test instead of hanging it.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

using TestHeaders = std::vector<std::pair<std::string, std::string>>;

struct TestAnswer {
    int Status = 0;  // 0: no answer (the connection failed or closed first)
    TestHeaders Headers;
    std::string Body;

    explicit operator bool() const { return Status != 0; }
    bool Has(const std::string& name) const;
    std::string Header(const std::string& name) const;
};

class TestHttpClient {
public:
    explicit TestHttpClient(int port) : port_(port) {}

    // Host is 127.0.0.1:<port> unless the headers name another.
    TestAnswer Request(const std::string& method, const std::string& target, const TestHeaders& headers,
                       const std::string& body = std::string()) const;
    // Sends the bytes and returns all that comes back until the server closes.
    std::string Raw(const std::string& bytes) const;
    // The event stream's bytes until `frames` events came, the stream ended
    // (`ended` then true), or nothing came for ten seconds.
    std::string Events(const TestHeaders& headers, int frames, bool* ended = nullptr) const;
    // The event stream, handing everything received so far to `enough` until
    // it says so; true when the stream ended first.
    bool Listen(const TestHeaders& headers, const std::function<bool(const std::string& all)>& enough) const;

    // The answers in the bytes, in order.
    static std::vector<TestAnswer> Parse(const std::string& bytes);

private:
    std::string RequestText(const std::string& method, const std::string& target, const TestHeaders& headers,
                            const std::string& body) const;
    const int port_;
};
