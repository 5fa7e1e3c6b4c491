#include "ReferenceBox.h"
#include <windows.h>

namespace {

struct Request {
    std::wstring text;
    std::wstring caption;
    unsigned style;
};

DWORD WINAPI boxThread(LPVOID param) {
    Request* r = static_cast<Request*>(param);
    MessageBoxW(nullptr, r->text.c_str(), r->caption.c_str(), r->style);
    delete r;
    return 0;
}

}  // namespace

bool showReferenceBox(const std::wstring& text, const std::wstring& caption, unsigned style) {
    Request* r = new Request{text, caption, style};
    HANDLE h = CreateThread(nullptr, 0, boxThread, r, 0, nullptr);
    if (!h) {
        delete r;
        return false;
    }
    CloseHandle(h);
    return true;
}
