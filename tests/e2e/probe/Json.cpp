#include "Json.h"
#include "Text.h"
#include <cstdio>

std::string jsonQuote(const std::string& utf8) {
    std::string out = "\"";
    for (unsigned char c : utf8) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

void JsonObject::key(const char* name) {
    if (!body_.empty()) body_ += ",";
    body_ += jsonQuote(name);
    body_ += ":";
}

JsonObject& JsonObject::add(const char* k, const std::string& utf8) {
    key(k);
    body_ += jsonQuote(utf8);
    return *this;
}

JsonObject& JsonObject::add(const char* k, const char* utf8) { return add(k, std::string(utf8)); }

JsonObject& JsonObject::add(const char* k, const std::wstring& text) { return add(k, toUtf8(text)); }

JsonObject& JsonObject::add(const char* k, long long value) {
    key(k);
    body_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::addBool(const char* k, bool value) {
    key(k);
    body_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::addRaw(const char* k, const std::string& json) {
    key(k);
    body_ += json;
    return *this;
}

JsonArray& JsonArray::addRaw(const std::string& json) {
    if (!body_.empty()) body_ += ",";
    body_ += json;
    return *this;
}

JsonArray& JsonArray::add(long long value) { return addRaw(std::to_string(value)); }
