#include "ConverterArguments.h"

#include "records/GbkText.h"

#include <cwctype>

namespace {

std::string Ascii(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

std::string ExtensionOf(const std::wstring& path) {
    const size_t dot = path.find_last_of(L'.');
    const size_t separator = path.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator)) return std::string();
    std::wstring extension = path.substr(dot + 1);
    for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
    return Ascii(extension);
}

bool ParseConverterArguments(const std::vector<std::wstring>& args, ConverterArguments& parsed, std::string& error) {
    parsed = ConverterArguments();
    if (args.empty()) {
        error = "no command given";
        return false;
    }
    parsed.command = args[0];
    if (parsed.command == L"help" || parsed.command == L"--help" || parsed.command == L"-h" || parsed.command == L"/?") {
        parsed.command = L"help";
        return true;
    }
    if (parsed.command != L"image" && parsed.command != L"record") {
        error = "unknown command \"" + kv90rec::WideToUtf8(parsed.command) + "\"";
        return false;
    }
    std::vector<std::wstring> positional;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg.size() < 2 || arg.compare(0, 2, L"--") != 0) {
            positional.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size()) {
            error = "the option " + kv90rec::WideToUtf8(arg) + " needs a value";
            return false;
        }
        const std::wstring& value = args[++i];
        if (arg == L"--image")
            parsed.imageFormat = Ascii(value);
        else if (arg == L"--format")
            parsed.recordFormat = Ascii(value);
        else if (arg == L"--bitrate")
            parsed.bitRate = Ascii(value);
        else if (arg == L"--key")
            parsed.key = value;
        else if (arg == L"--config")
            parsed.config = value;
        else {
            error = "unknown option " + kv90rec::WideToUtf8(arg);
            return false;
        }
    }
    if (positional.size() != 2) {
        error = parsed.command == L"image" ? "image needs an input file and an output file"
                                           : "record needs a folder of slot files and an output file";
        return false;
    }
    parsed.input = positional[0];
    parsed.output = positional[1];
    return true;
}
