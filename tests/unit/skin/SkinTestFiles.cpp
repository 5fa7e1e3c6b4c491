#include "SkinTestFiles.h"

#include <windows.h>
#include <objbase.h>

#include <fstream>
#include <stdexcept>

namespace {

std::string Env(const char* name) {
    char buffer[MAX_PATH + 1] = {};
    const DWORD n = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return (n > 0 && n < sizeof buffer) ? std::string(buffer, n) : std::string();
}

void SetEnv(const char* name, const std::string& value) {
    SetEnvironmentVariableA(name, value.empty() ? nullptr : value.c_str());
}

}  // namespace

PrivateTempFolder::PrivateTempFolder() : oldTmp_(Env("TMP")), oldTemp_(Env("TEMP")) {
    char base[MAX_PATH + 1] = {};
    GetTempPathA(sizeof base, base);
    GUID guid{};
    CoCreateGuid(&guid);
    char name[64];
    wsprintfA(name, "kv90skin-%08lX%04X", guid.Data1, guid.Data2);
    path_ = std::string(base) + name + "\\";
    if (!CreateDirectoryA(path_.c_str(), nullptr)) throw std::runtime_error("cannot create " + path_);
    SetEnv("TMP", path_);
    SetEnv("TEMP", path_);
}

PrivateTempFolder::~PrivateTempFolder() {
    SetEnv("TMP", oldTmp_);
    SetEnv("TEMP", oldTemp_);
    for (const std::string& f : Files()) DeleteFileA((path_ + f).c_str());
    RemoveDirectoryA(path_.c_str());
}

std::string PrivateTempFolder::Write(const std::string& name, const Bytes& bytes) const {
    const std::string path = path_ + name;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<std::string> PrivateTempFolder::Files() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((path_ + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(data.cFileName);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

Bytes FixtureBytes(const char* resourceName) {
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC info = FindResourceA(module, resourceName, MAKEINTRESOURCEA(10));
    if (info == nullptr) throw std::runtime_error(std::string("missing fixture ") + resourceName);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, info)));
    return Bytes(data, data + SizeofResource(module, info));
}
