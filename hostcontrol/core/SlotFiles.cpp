#include "SlotFiles.h"

namespace kv90host {

std::wstring tempFolderOf(const std::wstring& installDir) {
    std::wstring folder = installDir;
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    return folder + L"Temp\\";
}

std::wstring slotFileName(int slot) { return slot >= 0 && slot <= 9 ? std::to_wstring(slot) + L".bmp" : L""; }

std::wstring slotFilePath(const std::wstring& tempFolder, int slot) {
    const std::wstring name = slotFileName(slot);
    return name.empty() ? name : tempFolder + name;
}

std::wstring personSlotFileName(const std::wstring& key, const std::wstring& name, int slot) {
    const std::wstring slotName = slotFileName(slot);
    return slotName.empty() ? slotName : key + L"$" + name + L"_" + slotName;
}

std::wstring personSlotFilePath(const std::wstring& tempFolder, const std::wstring& key, const std::wstring& name,
                                int slot) {
    const std::wstring fileName = personSlotFileName(key, name, slot);
    return fileName.empty() ? fileName : tempFolder + fileName;
}

}  // namespace kv90host
