// What an action raised: the message of the exception of type E it threw, or "nothing raised".
// Exceptions of other types go on to the test, which fails with them.
#pragma once

#include <exception>
#include <functional>
#include <string>

template <typename E = std::exception>
std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const E& e) {
        return e.what();
    }
    return "nothing raised";
}
