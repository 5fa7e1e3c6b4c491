#include "records/PersonFolder.h"

#include "records/GbkText.h"
#include "records/FileBytes.h"
#include "records/SlotBitmap.h"

#include <windows.h>

#include <algorithm>
#include <map>

namespace kv90rec {

namespace {

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towlower(c));
    return text;
}

struct FindCloser {
    HANDLE handle;
    ~FindCloser() {
        if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    }
};

std::vector<std::wstring> FileNamesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    FindCloser search{FindFirstFileW((folder + L"\\*.bmp").c_str(), &found)};
    if (search.handle == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search.handle, &found));
    std::sort(names.begin(), names.end());
    return names;
}

bool LastWriteTime(const std::wstring& path, RecordTime& time) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    SYSTEMTIME utc;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToSystemTime(&data.ftLastWriteTime, &utc))
        return false;
    time = {utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond};
    return true;
}

std::wstring WithoutTrailingSeparator(std::wstring folder) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    return folder;
}

}  // namespace

bool AddSlotFile(PersonFingers& person, int slot, const std::wstring& path, std::string& error) {
    std::vector<uint8_t> bytes;
    CapturedFinger finger;
    finger.slot = slot;
    if (!ReadFileBytes(path, bytes)) {
        error = WideToUtf8(path) + " cannot be read";
        return false;
    }
    if (!ReadSlotBitmap(bytes.data(), bytes.size(), finger.image, error)) {
        error = WideToUtf8(path) + ": " + error;
        return false;
    }
    finger.hasCaptureTime = LastWriteTime(path, finger.captureTime);
    auto& fingers = person.fingers;
    fingers.erase(std::remove_if(fingers.begin(), fingers.end(), [slot](const CapturedFinger& f) { return f.slot == slot; }),
                  fingers.end());
    const auto after = std::find_if(fingers.begin(), fingers.end(), [slot](const CapturedFinger& f) { return f.slot > slot; });
    fingers.insert(after, std::move(finger));
    return true;
}

bool ParseSlotFileName(const std::wstring& fileName, SlotFileName& parsed) {
    parsed = SlotFileName();
    const std::wstring lower = Lower(fileName);
    if (lower.size() < 5 || lower.compare(lower.size() - 4, 4, L".bmp") != 0) return false;
    const wchar_t digit = lower[lower.size() - 5];
    if (digit < L'0' || digit > L'9') return false;
    const size_t digitAt = lower.size() - 5;
    if (digitAt == 0) {
        parsed.slot = digit - L'0';
        return true;
    }
    // The station joins key "$" name "_" N ".bmp"; the key is up to the first "$".
    if (fileName[digitAt - 1] != L'_') return false;
    const size_t dollar = fileName.find(L'$');
    if (dollar == std::wstring::npos || dollar >= digitAt - 1) return false;
    parsed.key = fileName.substr(0, dollar);
    parsed.name = fileName.substr(dollar + 1, digitAt - 1 - (dollar + 1));
    parsed.slot = digit - L'0';
    parsed.person = true;
    return true;
}

bool LoadPersonFolder(const std::wstring& folder, const std::wstring& key, PersonFingers& person, std::string& error) {
    person = PersonFingers();
    const std::wstring base = WithoutTrailingSeparator(folder);
    const DWORD attributes = GetFileAttributesW(base.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        error = WideToUtf8(folder) + " is not a folder";
        return false;
    }
    std::map<int, std::wstring> plainFiles;
    std::map<std::wstring, std::map<int, std::pair<std::wstring, std::wstring>>> personFiles;  // key -> slot -> file, name
    for (const std::wstring& fileName : FileNamesIn(base)) {
        SlotFileName parsed;
        if (!ParseSlotFileName(fileName, parsed)) continue;
        if (parsed.person)
            personFiles[parsed.key][parsed.slot] = {fileName, parsed.name};
        else
            plainFiles[parsed.slot] = fileName;
    }
    std::map<int, std::pair<std::wstring, std::wstring>> chosen;
    std::wstring chosenKey;
    if (!key.empty()) {
        const auto found = personFiles.find(key);
        if (found == personFiles.end()) {
            error = "no slot files of the person with key " + WideToUtf8(key) + " in " + WideToUtf8(folder);
            return false;
        }
        chosenKey = key;
        chosen = found->second;
    } else if (personFiles.size() == 1) {
        chosenKey = personFiles.begin()->first;
        chosen = personFiles.begin()->second;
    } else if (personFiles.size() > 1) {
        error = "the folder holds the fingers of " + std::to_string(personFiles.size()) +
                " people; say whose with a key:";
        for (const auto& entry : personFiles) error += " " + WideToUtf8(entry.first);
        return false;
    } else {
        for (const auto& entry : plainFiles) chosen[entry.first] = {entry.second, std::wstring()};
    }
    if (chosen.empty()) {
        error = "no slot files (N.bmp or key$name_N.bmp) in " + WideToUtf8(folder);
        return false;
    }
    person.key = WideToUtf8(chosenKey);
    for (const auto& entry : chosen) {
        if (!AddSlotFile(person, entry.first, base + L"\\" + entry.second.first, error)) return false;
    }
    // A key captured under two names leaves files of both; the lowest slot's name stands.
    person.name = WideToUtf8(chosen.begin()->second.second);
    return true;
}

bool LoadPlainSlotFiles(const std::wstring& folder, PersonFingers& person, std::string& error) {
    person.fingers.clear();
    const std::wstring base = WithoutTrailingSeparator(folder);
    for (int slot = 0; slot <= 9; ++slot) {
        const std::wstring path = base + L"\\" + std::to_wstring(slot) + L".bmp";
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) continue;
        if (!AddSlotFile(person, slot, path, error)) return false;
    }
    if (person.fingers.empty()) {
        error = "no finger was captured";
        return false;
    }
    return true;
}

}  // namespace kv90rec
