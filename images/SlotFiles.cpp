// The finger image files under Temp\: slot file names, their storing and their deletion.
#include "common/SysOper.h"
#include "forms/DataModule.h"
#include "framework/Exception.h"
#include "framework/StagedFile.h"
#include "framework/SysUtils.h"

#include <vector>

std::string TDM::Func_GetFpFileName(int slot) const {
    return slot >= 0 && slot <= 9 ? IntToStr(slot) + ".bmp" : std::string();
}

std::string TDM::PlainSlotPath(int slot) const { return TempFolder() + Func_GetFpFileName(slot); }

std::string TDM::CompanionPath(int slot) const {
    const std::string plain = PlainSlotPath(slot);
    return plain.substr(0, plain.size() - 3) + "jpg";
}

std::string TDM::PersonSlotFileName(int slot) const {
    return PersonKey + "$" + PersonName + "_" + Func_GetFpFileName(slot);
}

std::string TDM::PersonSlotPath(int slot) const { return TempFolder() + PersonSlotFileName(slot); }

std::string TDM::PreviewPath() const { return TempFolder() + "FPTemp.bmp"; }

void TDM::Func_DelFpInfo(int slot) {
    // A deletion the file system refuses (a file held open) leaves that file and is
    // logged with its name and the system's reason; the others go on.
    const auto remove = [](const std::string& path) {
        if (!FileExists(path) || DeleteFile(path)) return;
        const DWORD error = GetLastError();
        throw EFileError("Cannot delete file \"" + path + "\". " + SysErrorMessage(error));
    };
    const int first = slot == -1 ? 0 : slot;
    const int last = slot == -1 ? 9 : slot;
    std::vector<std::string> paths;
    for (int n = first; n <= last; ++n) {
        paths.push_back(PlainSlotPath(n));
        paths.push_back(CompanionPath(n));
    }
    paths.push_back(PreviewPath());
    for (const std::string& path : paths) {
        try {
            remove(path);
        } catch (const std::exception& e) {
            TSysOper::WriteLog("删除指纹图片失败,函数Func_DelFpInfo中错误:" + ExceptionMessage(e));
        }
    }
}

void TDM::StoreSlotFiles(int slot, const std::string& bytes) {
    TStagedFile plain(PlainSlotPath(slot));
    TStagedFile person(PersonSlotPath(slot));
    plain.Write(bytes);
    person.Write(bytes);
    CommitTogether({&plain, &person});
    // A deletion the file system refuses (a file held open) is skipped.
    if (FileExists(CompanionPath(slot))) DeleteFile(CompanionPath(slot));
}
