// The converter's command line, read into what it asks for.
#pragma once

#include <string>
#include <vector>

struct ConverterArguments {
    std::wstring command;  // "image", "record" or "help"
    std::wstring input;
    std::wstring output;
    std::string imageFormat;   // --image, or from the output's extension
    std::string recordFormat;  // --format, or from the output's extension
    std::string bitRate;       // --bitrate
    std::wstring key;          // --key
    std::wstring config;       // --config
};

// False with a reason for an unknown option, a missing value or a missing
// input or output; "help" needs neither.
bool ParseConverterArguments(const std::vector<std::wstring>& args, ConverterArguments& parsed, std::string& error);

// The extension of a path, lower case, without its dot; empty when it has none.
std::string ExtensionOf(const std::wstring& path);
