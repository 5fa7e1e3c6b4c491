// Exception with a message, the one failure type that the program's handlers
// catch and turn into a log line, a status text or a message box.
#pragma once

#include <exception>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}

    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A text that cannot be converted into the value asked for ('abc' as an integer).
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file that cannot be created, opened, read or written.
class EFileError : public Exception {
public:
    using Exception::Exception;
};

// The message of any exception, for log lines: our own, the run-time's, or unknown.
std::string ExceptionMessage(const std::exception& e);
