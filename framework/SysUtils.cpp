#include "framework/SysUtils.h"

#include "framework/Exception.h"
#include "framework/Handles.h"
#include "framework/StagedFile.h"

#include <cstdio>

namespace {

bool IsLeadByte(char c) { return IsDBCSLeadByte(static_cast<BYTE>(c)) != 0; }

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

}  // namespace

std::string Trim(const std::string& s) {
    size_t first = 0, last = s.size();
    while (first < last && IsBlank(s[first])) ++first;
    while (last > first && IsBlank(s[last - 1])) --last;
    return s.substr(first, last - first);
}

std::string UpperCase(const std::string& s) {
    std::string result = s;
    for (size_t i = 0; i < result.size(); ++i) {
        if (IsLeadByte(result[i])) {
            ++i;
            continue;
        }
        if (result[i] >= 'a' && result[i] <= 'z') result[i] = static_cast<char>(result[i] - 'a' + 'A');
    }
    return result;
}

bool SameText(const std::string& a, const std::string& b) { return UpperCase(a) == UpperCase(b); }

std::string IntToStr(long long value) { return std::to_string(value); }

int StrToInt(const std::string& s) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    long long value = 0;
    const size_t digitsStart = i;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        value = value * 10 + (s[i] - '0');
        if (value > 2147483648LL) break;
    }
    if (i == digitsStart || i != s.size() || value > (negative ? 2147483648LL : 2147483647LL))
        throw EConvertError("'" + s + "' is not a valid integer value");
    return static_cast<int>(negative ? -value : value);
}

size_t LastDelimiter(const std::string& delimiters, const std::string& s) {
    size_t found = std::string::npos;
    for (size_t i = 0; i < s.size(); ++i) {
        if (IsLeadByte(s[i])) {
            ++i;
            continue;
        }
        if (delimiters.find(s[i]) != std::string::npos) found = i;
    }
    return found;
}

std::string ExtractFilePath(const std::string& path) {
    const size_t pos = LastDelimiter("\\:", path);
    return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string ExtractFileName(const std::string& path) {
    const size_t pos = LastDelimiter("\\:", path);
    return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string ExtractFileExt(const std::string& path) {
    const size_t pos = LastDelimiter(".\\:", path);
    return pos != std::string::npos && path[pos] == '.' ? path.substr(pos) : std::string();
}

std::string ModuleFileName() {
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::string();
        if (length < buffer.size()) return buffer.substr(0, length);
        if (buffer.size() >= 32768) return std::string();
        buffer.resize(buffer.size() * 2);
    }
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DeleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    TStagedFile staged(path);
    staged.Write(bytes);
    staged.Commit();
}

std::string ReadFileBytes(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EFileError("Cannot open file \"" + path + "\". " + SysErrorMessage(GetLastError()));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        throw EFileError("Cannot read file \"" + path + "\"");
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        throw EFileError("Cannot read file \"" + path + "\". " + SysErrorMessage(GetLastError()));
    // A file cut short since its size was asked reads short without an error.
    if (read != bytes.size())
        throw EFileError("Cannot read file \"" + path + "\". Only " + std::to_string(read) + " of " +
                         std::to_string(bytes.size()) + " bytes were read.");
    return bytes;
}

std::string SysErrorMessage(DWORD code) {
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    std::string text = length ? std::string(buffer, length) : "System error " + std::to_string(code);
    if (buffer) LocalFree(buffer);
    return Trim(text);
}

std::string SysErrorReason(DWORD code, const std::string& otherwise) {
    return code == ERROR_SUCCESS ? otherwise : SysErrorMessage(code);
}

SYSTEMTIME Now() {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    return time;
}

std::string FormatDateTime(const std::string& format, const SYSTEMTIME& time) {
    struct Token {
        const char* text;
        int width;
        WORD value;
    };
    const Token tokens[] = {{"yyyy", 4, time.wYear}, {"mm", 2, time.wMonth},  {"dd", 2, time.wDay},
                            {"hh", 2, time.wHour},   {"nn", 2, time.wMinute}, {"ss", 2, time.wSecond}};
    std::string out;
    for (size_t i = 0; i < format.size();) {
        bool matched = false;
        for (const Token& t : tokens) {
            const size_t len = std::char_traits<char>::length(t.text);
            if (format.compare(i, len, t.text) == 0) {
                char digits[8];
                std::snprintf(digits, sizeof digits, "%0*u", t.width, static_cast<unsigned>(t.value));
                out += digits;
                i += len;
                matched = true;
                break;
            }
        }
        if (!matched) out += format[i++];
    }
    return out;
}
