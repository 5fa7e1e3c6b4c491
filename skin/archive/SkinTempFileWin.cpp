#include "skin/archive/SkinTempFile.h"

#include "skin/archive/SkinFileIo.h"

#include <windows.h>
#include <objbase.h>

namespace {

std::string TempFolder() {
    char buffer[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(MAX_PATH + 1, buffer);
    std::string folder = (length > 0 && length <= MAX_PATH) ? std::string(buffer, length) : std::string(".\\");
    if (folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" of a fresh GUID.
std::string NewBracedGuid() {
    GUID guid{};
    if (FAILED(CoCreateGuid(&guid))) {
        // Without a GUID the name still has to be new: the time and counter stand in.
        static LONG counter = 0;
        guid.Data1 = GetTickCount();
        guid.Data2 = static_cast<WORD>(GetCurrentProcessId());
        guid.Data3 = static_cast<WORD>(InterlockedIncrement(&counter));
    }
    wchar_t wide[64] = {};
    const int length = StringFromGUID2(guid, wide, 64);
    std::string text;
    for (int i = 0; i + 1 < length; ++i) text += static_cast<char>(wide[i]);  // the text is plain ASCII
    return text;
}

}  // namespace

std::string MakeTempFilePath(const std::string& extension) {
    // A folder of the same name blocks the name as much as a file does.
    const auto taken = [](const std::string& path) {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    };
    return UniquePath(TempFolder(), NewBracedGuid(), extension, taken);
}

bool SkinFileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
