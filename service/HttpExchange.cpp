// Requests and answers.
#include "service/HttpExchange.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

}  // namespace

std::string HttpRequest::Header(const std::string& name) const {
    for (const auto& header : Headers)
        if (SameName(header.first, name)) return header.second;
    return std::string();
}

bool HttpRequest::Has(const std::string& name) const {
    return std::any_of(Headers.begin(), Headers.end(), [&](const auto& header) { return SameName(header.first, name); });
}

HttpAnswer JsonAnswer(int status, std::string json) {
    HttpAnswer answer;
    answer.Status = status;
    answer.ContentType = "application/json; charset=utf-8";
    answer.Body = std::move(json);
    answer.Headers.push_back({"Cache-Control", "no-store"});
    return answer;
}

HttpAnswer ErrorAnswer(int status, const std::string& reason) {
    return JsonAnswer(status, nlohmann::json{{"error", reason}}.dump());
}
