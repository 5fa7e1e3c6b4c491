#include "framework/StagedFile.h"

#include "framework/Exception.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"

#include <algorithm>
#include <vector>

namespace {

constexpr DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// A new, empty file with a unique name in the target's folder. The system
// creates it, so two writers never pick the same name.
std::string CreateNameBeside(const std::string& target) {
    const std::string folder = ExtractFilePath(target);
    char name[MAX_PATH];
    if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "kv9", 0, name))
        throw EFileError("Cannot create file \"" + target + "\". " + SysErrorMessage(GetLastError()));
    return name;
}

[[noreturn]] void WriteFailed(const std::string& target, const std::string& reason) {
    throw EFileError("Cannot write file \"" + target + "\". " + reason);
}

void WriteAll(HANDLE file, const std::string& target, const std::string& bytes, WriteFileCall write) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        SetLastError(ERROR_SUCCESS);
        const BOOL ok = write(file, bytes.data() + done, chunk, &written, nullptr);
        const DWORD error = GetLastError();
        if (ok) done += std::min<DWORD>(written, chunk);
        if (!ok || written == 0)
            WriteFailed(target, SysErrorReason(error, "Only " + std::to_string(done) + " of " +
                                                          std::to_string(bytes.size()) + " bytes were written."));
    }
}

}  // namespace

TStagedFile::TStagedFile(std::string target) : target_(std::move(target)) {}

TStagedFile::~TStagedFile() {
    if (!path_.empty() && !placed_) DeleteFileA(path_.c_str());
}

void TStagedFile::Create() {
    if (path_.empty()) path_ = CreateNameBeside(target_);
}

void TStagedFile::Write(const std::string& bytes, WriteFileCall write) {
    Create();
    // Created again rather than opened: Wine's GetTempFileName can report a
    // name it failed to create, and creating it here then gives the reason.
    UniqueHandle file(
        CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw EFileError("Cannot create file \"" + target_ + "\". " + SysErrorMessage(GetLastError()));
    WriteAll(file.Get(), target_, bytes, write);
    if (!FlushFileBuffers(file.Get())) WriteFailed(target_, SysErrorMessage(GetLastError()));
}

void TStagedFile::Flush() {
    UniqueHandle file(
        CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !FlushFileBuffers(file.Get())) WriteFailed(target_, SysErrorMessage(GetLastError()));
}

void TStagedFile::Commit() {
    if (!MoveFileExA(path_.c_str(), target_.c_str(), kReplace))
        throw EFileError("Cannot replace file \"" + target_ + "\". " + SysErrorMessage(GetLastError()));
    placed_ = true;
}

void CommitTogether(std::initializer_list<TStagedFile*> files) {
    // Each target's old file under a temporary name, empty when there was none.
    std::vector<std::pair<TStagedFile*, std::string>> aside;
    try {
        for (TStagedFile* file : files) {
            std::string old;
            if (FileExists(file->Target())) {
                old = CreateNameBeside(file->Target());
                if (!MoveFileExA(file->Target().c_str(), old.c_str(), kReplace)) {
                    const DWORD error = GetLastError();
                    DeleteFileA(old.c_str());
                    throw EFileError("Cannot replace file \"" + file->Target() + "\". " + SysErrorMessage(error));
                }
            }
            aside.emplace_back(file, old);
            file->Commit();
        }
    } catch (...) {
        // Back as they were, the latest first; nothing more can be done for
        // a file the system refuses to put back.
        for (auto it = aside.rbegin(); it != aside.rend(); ++it) {
            const std::string& target = it->first->Target();
            if (!it->second.empty())
                MoveFileExA(it->second.c_str(), target.c_str(), kReplace);
            else if (it->first->Placed())
                DeleteFileA(target.c_str());
        }
        throw;
    }
    for (const auto& kept : aside)
        if (!kept.second.empty()) DeleteFileA(kept.second.c_str());
}
