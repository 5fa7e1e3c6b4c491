// The finger image files under Temp\: slot file names, their storing and their deletion.
#include "common/SysOper.h"
#include "forms/DataModule.h"
#include "framework/StagedFile.h"
#include "framework/SysUtils.h"

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
    // Nothing may escape to the caller: the close handler goes on to stop the capture
    // thread, and the program waits for that thread.
    try {
        // A deletion the file system refuses (a file held open) leaves that file and is
        // logged with its name and the system's reason; the others go on.
        const auto remove = [this](const std::string& path) {
            if (!FileExists(path) || DeleteImageFile(path)) return;
            const DWORD error = GetLastError();
            TSysOper::WriteLog("删除指纹图片文件被拒绝,文件\"" + path + "\",原因:" + SysErrorMessage(error));
        };
        const int first = slot == -1 ? 0 : slot;
        const int last = slot == -1 ? 9 : slot;
        for (int n = first; n <= last; ++n) {
            remove(PlainSlotPath(n));
            remove(CompanionPath(n));
        }
        remove(PreviewPath());
    } catch (const std::exception& e) {
        TSysOper::WriteLog("删除指纹图片失败,函数Func_DelFpInfo中错误:" + ExceptionMessage(e));
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
