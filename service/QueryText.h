// The query of a request's target, read by hand: a page's parameters are
// short, and nothing a caller sends goes through a pattern matcher.
#pragma once

#include <string>

// The value of the first `name=` parameter, percent-decoded ('+' is a blank).
// False when the parameter is missing or its encoding is broken.
bool QueryValue(const std::string& query, const std::string& name, std::string& value);

// Whether a parameter of exactly this name is there, whatever its value.
bool QueryHas(const std::string& query, const std::string& name);
