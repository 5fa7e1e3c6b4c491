// The tests' HTTP client.
#include "TestHttpClient.h"

#include <winsock2.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <functional>

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

class Connection {
public:
    explicit Connection(int port) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        DWORD timeout = 10000;
        setsockopt(socket_, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<u_short>(port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        connected_ = connect(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~Connection() {
        closesocket(socket_);
        WSACleanup();
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool Send(const std::string& bytes) {
        size_t sent = 0;
        while (connected_ && sent < bytes.size()) {
            const int n = send(socket_, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
            if (n <= 0) return false;
            sent += static_cast<size_t>(n);
        }
        return connected_;
    }
    // Appends what comes until the server closes, a receive fails or enough(all)
    // says so; true when the server closed.
    bool Receive(std::string& all, const std::function<bool(const std::string&)>& enough) {
        char chunk[4096];
        while (connected_ && !enough(all)) {
            const int n = recv(socket_, chunk, sizeof chunk, 0);
            if (n == 0) return true;
            if (n < 0) return WSAGetLastError() != WSAETIMEDOUT;
            all.append(chunk, static_cast<size_t>(n));
        }
        return false;
    }

private:
    SOCKET socket_;
    bool connected_ = false;
};

// The length of the first whole answer in bytes, or 0 while it is incomplete.
size_t WholeAnswer(const std::string& bytes, TestAnswer& answer) {
    const size_t headEnd = bytes.find("\r\n\r\n");
    if (headEnd == std::string::npos || bytes.compare(0, 9, "HTTP/1.1 ") != 0) return 0;
    answer = TestAnswer();
    answer.Status = std::atoi(bytes.c_str() + 9);
    size_t lineStart = bytes.find("\r\n") + 2;
    while (lineStart < headEnd) {
        const size_t lineEnd = bytes.find("\r\n", lineStart);
        const std::string line = bytes.substr(lineStart, lineEnd - lineStart);
        const size_t colon = line.find(':');
        if (colon != std::string::npos) {
            size_t valueStart = colon + 1;
            while (valueStart < line.size() && line[valueStart] == ' ') ++valueStart;
            answer.Headers.push_back({line.substr(0, colon), line.substr(valueStart)});
        }
        lineStart = lineEnd + 2;
    }
    const size_t bodyStart = headEnd + 4;
    const std::string length = answer.Header("Content-Length");
    const size_t bodyLength = length.empty() ? bytes.size() - bodyStart : std::strtoul(length.c_str(), nullptr, 10);
    if (bytes.size() < bodyStart + bodyLength) return 0;
    answer.Body = bytes.substr(bodyStart, bodyLength);
    return bodyStart + bodyLength;
}

}  // namespace

bool TestAnswer::Has(const std::string& name) const {
    return std::any_of(Headers.begin(), Headers.end(), [&](const auto& header) { return SameName(header.first, name); });
}

std::string TestAnswer::Header(const std::string& name) const {
    for (const auto& header : Headers)
        if (SameName(header.first, name)) return header.second;
    return std::string();
}

std::string TestHttpClient::RequestText(const std::string& method, const std::string& target,
                                        const TestHeaders& headers, const std::string& body) const {
    std::string text = method + " " + target + " HTTP/1.1\r\n";
    const bool namesHost =
        std::any_of(headers.begin(), headers.end(), [](const auto& header) { return SameName(header.first, "Host"); });
    if (!namesHost) text += "Host: 127.0.0.1:" + std::to_string(port_) + "\r\n";
    for (const auto& header : headers) text += header.first + ": " + header.second + "\r\n";
    if (method == "POST" || !body.empty()) text += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return text + "Connection: close\r\n\r\n" + body;
}

TestAnswer TestHttpClient::Request(const std::string& method, const std::string& target, const TestHeaders& headers,
                                   const std::string& body) const {
    Connection connection(port_);
    TestAnswer answer;
    if (!connection.Send(RequestText(method, target, headers, body))) return answer;
    std::string bytes;
    connection.Receive(bytes, [&](const std::string& all) { return WholeAnswer(all, answer) != 0; });
    WholeAnswer(bytes, answer);
    return answer;
}

std::string TestHttpClient::Raw(const std::string& bytes) const {
    Connection connection(port_);
    std::string all;
    connection.Send(bytes);
    connection.Receive(all, [](const std::string&) { return false; });
    return all;
}

std::string TestHttpClient::Events(const TestHeaders& headers, int frames, bool* ended) const {
    std::string received;
    const bool closed = Listen(headers, [&](const std::string& all) {
        received = all;
        int seen = 0;
        for (size_t at = all.find("\nevent: "); at != std::string::npos; at = all.find("\nevent: ", at + 1)) ++seen;
        return seen >= frames;
    });
    if (ended) *ended = closed;
    return received;
}

bool TestHttpClient::Listen(const TestHeaders& headers, const std::function<bool(const std::string& all)>& enough) const {
    Connection connection(port_);
    std::string all;
    if (!connection.Send(RequestText("GET", "/v1/events", headers, ""))) return false;
    return connection.Receive(all, enough);
}

std::vector<TestAnswer> TestHttpClient::Parse(const std::string& bytes) {
    std::vector<TestAnswer> answers;
    size_t at = 0;
    TestAnswer answer;
    while (size_t length = WholeAnswer(bytes.substr(at), answer)) {
        answers.push_back(answer);
        at += length;
    }
    return answers;
}
