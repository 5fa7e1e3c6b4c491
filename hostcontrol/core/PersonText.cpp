#include "PersonText.h"

#include "SlotFiles.h"

#include <cwchar>

namespace kv90host {

namespace {

// No single path component on a Windows file system is longer than this.
constexpr size_t kMaxComponentChars = 255;

bool isForbiddenInFileName(wchar_t c) { return c < 0x20 || c == 0x7F || std::wcschr(L"\\/:*?\"<>|", c) != nullptr; }

// Windows opens a device for a base name (up to the first dot, trailing spaces
// dropped) that is a device name, whatever extension follows.
bool namesADevice(const std::wstring& fileName) {
    std::wstring base = fileName.substr(0, fileName.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    static const wchar_t* const devices[] = {L"CON",  L"PRN",  L"AUX",  L"NUL",  L"COM1",   L"COM2",
                                             L"COM3", L"COM4", L"COM5", L"COM6", L"COM7",   L"COM8",
                                             L"COM9", L"LPT1", L"LPT2", L"LPT3", L"LPT4",   L"LPT5",
                                             L"LPT6", L"LPT7", L"LPT8", L"LPT9", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : devices)
        if (base.size() == std::wcslen(device) && _wcsicmp(base.c_str(), device) == 0) return true;
    return false;
}

// The text in the code page, only if it comes back unchanged: a best-fit or
// default character would put another name on the person's files.
bool convertExactly(const std::wstring& text, UINT codePage, std::string& bytes) {
    bytes.clear();
    if (text.empty()) return true;
    const int size = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (needed <= 0) return false;
    bytes.assign(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, &bytes[0], needed, nullptr, nullptr);
    const int back = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), needed, nullptr, 0);
    if (back != size) return false;
    std::wstring roundTrip(static_cast<size_t>(back), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), needed, &roundTrip[0], back);
    return roundTrip == text;
}

}  // namespace

PersonRefusal encodePersonText(const std::wstring& key, const std::wstring& name, const std::wstring& tempFolder,
                               UINT codePage, std::string& bytes) {
    bytes.clear();
    if (key.find(L'$') != std::wstring::npos) return PersonRefusal::KeyHasDollar;
    const std::wstring text = key + L"$" + name;
    std::string converted;
    if (!convertExactly(text, codePage, converted)) return PersonRefusal::NotInCodePage;
    for (wchar_t c : text)
        if (isForbiddenInFileName(c)) return PersonRefusal::UnsafeForFileName;
    // Slot 0 stands for every slot: the names differ only in one digit.
    const std::wstring fileName = personSlotFileName(key, name, 0);
    if (namesADevice(fileName)) return PersonRefusal::UnsafeForFileName;
    if (fileName.size() > kMaxComponentChars || tempFolder.size() + fileName.size() >= MAX_PATH)
        return PersonRefusal::TooLong;
    bytes = converted;
    return PersonRefusal::None;
}

std::wstring describePersonRefusal(PersonRefusal refusal) {
    switch (refusal) {
    case PersonRefusal::None:
        return L"";
    case PersonRefusal::KeyHasDollar:
        return L"人员编号中不能含有“$”：采集程序在第一个“$”处分开编号和姓名。";
    case PersonRefusal::NotInCodePage:
        return L"人员编号或姓名中含有系统代码页不能表示的字符。";
    case PersonRefusal::UnsafeForFileName:
        return L"人员编号或姓名中含有不能用于文件名的字符（\\ / : * ? \" < > | 或控制字符），或构成设备名。";
    case PersonRefusal::TooLong:
        return L"人员编号和姓名太长：指纹文件名最长255个字符，完整路径不能超过259个字符。";
    }
    return L"";
}

}  // namespace kv90host
