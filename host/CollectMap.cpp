// The program's shared block FINGER_COLLECT_FILE, through which the host
// finds the capture window: its handle as decimal text and a zero byte.
#include "common/SysOper.h"
#include "forms/DataModule.h"
#include "forms/Main.h"

#include <cstring>
#include <string>

namespace {
constexpr DWORD kCollectMapSize = 20;
}

bool TFrm_Main::CreateMapFile() {
    try {
        DM->CollectMapHandle.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kCollectMapSize,
                                                      "FINGER_COLLECT_FILE"));
        if (!DM->CollectMapHandle) return false;
        MappedView view(MapViewOfFile(DM->CollectMapHandle.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
        if (!view) return false;
        const std::string text = std::to_string(reinterpret_cast<UINT_PTR>(Handle()));
        std::memcpy(view.Get(), text.c_str(), text.size() + 1);
        DM->CollectMapView = std::move(view);
        return true;
    } catch (const std::exception& e) {
        TSysOper::WriteLog("创建映像文件失败,函数CreateMapFile中错误:" + ExceptionMessage(e));
        return false;
    }
}
