// What the host sends the capture window: the person whose fingers are
// captured (WM_COPYDATA) and the close command.
#include "common/GbkText.h"
#include "common/PublicConst.h"
#include "common/StrOper.h"
#include "common/SysOper.h"
#include "forms/DataModule.h"
#include "forms/Main.h"

#include <cstring>

namespace {

// The text ends at the first zero byte and never runs past cbData bytes.
std::string CopyDataText(const COPYDATASTRUCT* data) {
    if (!data || !data->lpData || data->cbData == 0) return std::string();
    const char* bytes = static_cast<const char*>(data->lpData);
    return std::string(bytes, strnlen(bytes, data->cbData));
}

}  // namespace

void TFrm_Main::WndProc(TMessage& m) {
    try {
        if (DM && DM->ActiveMsgId != 0 && m.Msg == DM->ActiveMsgId) {
            if (m.WParam == static_cast<WPARAM>(HOST_CODE_CLOSE)) Close();
            return;
        }
        if (m.Msg == WM_COPYDATA) {
            Mymessage(m);
            return;
        }
        TForm::WndProc(m);
    } catch (const std::exception& e) {
        TSysOper::WriteLog("采集程序处理消息时出错,函数Wndproc中错误:" + ExceptionMessage(e));
    }
}

void TFrm_Main::Mymessage(TMessage& m) {
    try {
        const std::string text = CopyDataText(reinterpret_cast<const COPYDATASTRUCT*>(m.LParam));
        DM->PersonKey = TStrOper::StrBefore(text, '$');
        DM->PersonName = TStrOper::StrAfter(text, '$');
        Btn_Collect->SetEnabled(true);
        Btn_Clear->SetEnabled(true);
        Btn_SysConfig->SetEnabled(true);
        SetCaption("当前采集姓名为：【" + EscapeNonGbk(DM->PersonName) + "】的指纹信息");
    } catch (const std::exception& e) {
        TSysOper::WriteLog("处理WM_COPYDATA消息时出错,函数Mymessage中错误:" + ExceptionMessage(e));
    }
}
