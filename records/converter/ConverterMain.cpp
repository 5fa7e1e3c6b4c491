// KV90Records: converts an office's slot files without the station running.
#include "ConverterArguments.h"
#include "ConverterCommands.h"

#include <windows.h>

#include <cstdio>

namespace {

constexpr const char* kUsage =
    "KV90Records - finger images and records from the station's slot files\n"
    "\n"
    "  KV90Records image <input.bmp> <output.png|.jp2|.wsq|.bmp> [--bitrate R]\n"
    "      one slot file as PNG, lossless JPEG 2000 or WSQ (R: 0.5..2.25 bits per pixel, default 0.75)\n"
    "  KV90Records image <input.wsq> <output.png|.bmp>\n"
    "      a WSQ file back to a picture to look at\n"
    "  KV90Records record <folder> <output.an2|.fir> [--format an2k|iso19794-4]\n"
    "                     [--image wsq|png|jp2] [--key KEY] [--config Records.ini]\n"
    "      one person's slot files (key$name_N.bmp, or N.bmp) as an ANSI/NIST-ITL transaction\n"
    "      or an ISO/IEC 19794-4 finger image record; --key picks the person in a shared folder;\n"
    "      the agencies come from Config\\Records.ini beside this program unless --config names one\n"
    "\n"
    "Exit codes: 0 done, 1 wrong command line, 2 an input cannot be read or used, 3 the output cannot be written.\n";

// Messages carry UTF-8 (file names); the console shows the system's code page.
void Print(std::FILE* stream, const std::string& utf8) {
    const int wideSize = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideSize), L'\0');
    if (wideSize > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], wideSize);
    const int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    std::string local(static_cast<size_t>(size), '\0');
    if (size > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), wideSize, &local[0], size, nullptr, nullptr);
    std::fputs(local.c_str(), stream);
    std::fputc('\n', stream);
}

std::wstring DefaultConfigPath() {
    wchar_t module[MAX_PATH * 4];
    const DWORD length = GetModuleFileNameW(nullptr, module, static_cast<DWORD>(sizeof module / sizeof module[0]));
    std::wstring folder(module, length);
    const size_t separator = folder.find_last_of(L"\\/");
    folder = separator == std::wstring::npos ? std::wstring() : folder.substr(0, separator + 1);
    return folder + L"Config\\Records.ini";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv + 1, argv + argc);
    ConverterArguments parsed;
    std::string error;
    if (!ParseConverterArguments(args, parsed, error)) {
        Print(stderr, "KV90Records: " + error + "\n");
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    if (parsed.command == L"help") {
        std::fputs(kUsage, stdout);
        return kExitOk;
    }
    std::string report;
    const int code = parsed.command == L"image" ? RunImageCommand(parsed, report, error)
                                                : RunRecordCommand(parsed, DefaultConfigPath(), report, error);
    if (code == kExitOk)
        Print(stdout, report);
    else
        Print(stderr, "KV90Records: " + error);
    if (code == kExitUsage) std::fputs(kUsage, stderr);
    return code;
}
