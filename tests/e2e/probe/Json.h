// Builds the one-line JSON replies that the probe writes to its driver.
#pragma once
#include <string>
#include <cstdint>

class JsonObject {
public:
    JsonObject& add(const char* key, const std::string& utf8);
    JsonObject& add(const char* key, const char* utf8);
    JsonObject& add(const char* key, const std::wstring& text);
    JsonObject& add(const char* key, long long value);
    JsonObject& add(const char* key, int value) { return add(key, static_cast<long long>(value)); }
    JsonObject& add(const char* key, unsigned long value) { return add(key, static_cast<long long>(value)); }
    JsonObject& add(const char* key, unsigned int value) { return add(key, static_cast<long long>(value)); }
    JsonObject& addBool(const char* key, bool value);
    // value must already be valid JSON (an array or object built by these classes).
    JsonObject& addRaw(const char* key, const std::string& json);
    std::string str() const { return "{" + body_ + "}"; }

private:
    void key(const char* name);
    std::string body_;
};

class JsonArray {
public:
    JsonArray& addRaw(const std::string& json);
    JsonArray& add(long long value);
    std::string str() const { return "[" + body_ + "]"; }
    bool empty() const { return body_.empty(); }

private:
    std::string body_;
};

std::string jsonQuote(const std::string& utf8);
