// kv90hostclient: an integrator's C++ program using the host control through
// CoCreateInstance and its connection point, steered by a test on standard
// input. One command per line, one reply line each; events are printed as they
// come, UTF-8:
//   open [INSTALLDIR]     -> ok open window=N pid=N | error open hr=0x... text=...
//   person KEY NAME       -> ok person | error person hr=0x... text=...
//   close                 -> ok close | error close hr=0x... text=...
//   state                 -> ok state state=S window=N key=K name=N
//   quit                  -> ok quit, then the program ends
//   event Ready | event Collected slot=N file=P person=P | event Closed reason=R exit=N
// With --copy-to DIR, each Collected handler copies both files there (as
// copy-N.bmp and person-N.bmp) before it returns, while the station waits.
#include "KV90Host.h"

#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

namespace {

constexpr UINT kCommand = WM_APP + 1;
std::wstring copyFolder;

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size, nullptr, nullptr);
    return result;
}

std::wstring wide(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring result(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], size);
    return result;
}

void print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string argumentText(const VARIANT& value) {
    if (V_VT(&value) == VT_BSTR) return utf8(V_BSTR(&value) ? V_BSTR(&value) : L"");
    if (V_VT(&value) == VT_I4) return std::to_string(V_I4(&value));
    return "?";
}

// The event sink, as an integrator writes one in C++: IDispatch, Invoke by DISPID.
class Sink : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDispatch) || IsEqualIID(id, DIID__IFingerHostEvents)) {
            *object = this;
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        // Arguments come last first.
        const auto argument = [parameters](UINT index) {
            return argumentText(parameters->rgvarg[parameters->cArgs - 1 - index]);
        };
        if (id == 1) {
            print("event Ready");
        } else if (id == 2 && parameters->cArgs == 3) {
            const std::string slot = argument(0);
            std::string line = "event Collected slot=" + slot + " file=" + argument(1) + " person=" + argument(2);
            if (!copyFolder.empty()) {
                const std::wstring plain = V_BSTR(&parameters->rgvarg[1]);
                const std::wstring person = V_BSTR(&parameters->rgvarg[0]);
                const bool copied =
                    CopyFileW(plain.c_str(), (copyFolder + L"\\copy-" + wide(slot) + L".bmp").c_str(), FALSE) &&
                    CopyFileW(person.c_str(), (copyFolder + L"\\person-" + wide(slot) + L".bmp").c_str(), FALSE);
                line += copied ? " copied=1" : " copied=0";
            }
            print(line);
        } else if (id == 3 && parameters->cArgs == 2) {
            print("event Closed reason=" + argument(0) + " exit=" + argument(1));
        } else {
            print("event unknown dispid=" + std::to_string(id));
        }
        return S_OK;
    }
};

std::string failure(HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    std::string text;
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) == S_OK && info) {
        BSTR description = nullptr;
        if (SUCCEEDED(info->GetDescription(&description)) && description) {
            text = utf8(description);
            SysFreeString(description);
        }
        info->Release();
    }
    return std::string("hr=") + code + " text=" + text;
}

void reply(const std::string& verb, HRESULT hr) {
    print(SUCCEEDED(hr) ? "ok " + verb : "error " + verb + " " + failure(hr));
}

BSTR bstr(const std::wstring& text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--copy-to") copyFolder = wide(argv[i + 1]);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IFingerHost* host = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FingerHost, nullptr, CLSCTX_INPROC_SERVER, IID_IFingerHost,
                                  reinterpret_cast<void**>(&host));
    if (FAILED(hr)) {
        print("error create hr=" + std::to_string(static_cast<long>(hr)));
        return 1;
    }
    Sink sink;
    IConnectionPointContainer* container = nullptr;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
    hr = host->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(DIID__IFingerHostEvents, &point);
    if (SUCCEEDED(hr)) hr = point->Advise(&sink, &cookie);
    print("host pid=" + std::to_string(GetCurrentProcessId()) + " advise=" + (SUCCEEDED(hr) ? "1" : "0"));

    const DWORD mainThread = GetCurrentThreadId();
    std::thread([mainThread] {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            PostThreadMessageW(mainThread, kCommand, 0, reinterpret_cast<LPARAM>(new std::string(line)));
        }
    }).detach();

    MSG message;
    bool quitting = false;
    while (!quitting && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd || message.message != kCommand) {
            DispatchMessageW(&message);
            continue;
        }
        std::unique_ptr<std::string> line(reinterpret_cast<std::string*>(message.lParam));
        std::istringstream words(*line);
        std::string verb;
        words >> verb;
        if (verb == "open") {
            std::string folder;
            std::getline(words >> std::ws, folder);
            if (!folder.empty()) {
                BSTR value = bstr(wide(folder));
                host->put_InstallDir(value);
                SysFreeString(value);
            }
            hr = host->Open();
            if (FAILED(hr)) {
                reply(verb, hr);
                continue;
            }
            LONG window = 0;
            host->get_StationWindow(&window);
            DWORD pid = 0;
            GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(window)), &pid);
            print("ok open window=" + std::to_string(window) + " pid=" + std::to_string(pid));
        } else if (verb == "person") {
            std::string key, name;
            words >> key;
            std::getline(words >> std::ws, name);
            BSTR keyText = bstr(wide(key));
            BSTR nameText = bstr(wide(name));
            reply(verb, host->SetPerson(keyText, nameText));
            SysFreeString(keyText);
            SysFreeString(nameText);
        } else if (verb == "close") {
            reply(verb, host->Close());
        } else if (verb == "state") {
            BSTR state = nullptr, key = nullptr, name = nullptr;
            LONG window = 0;
            host->get_State(&state);
            host->get_StationWindow(&window);
            host->get_PersonKey(&key);
            host->get_PersonName(&name);
            print("ok state state=" + utf8(state) + " window=" + std::to_string(window) + " key=" + utf8(key) +
                  " name=" + utf8(name));
            SysFreeString(state);
            SysFreeString(key);
            SysFreeString(name);
        } else if (verb == "quit") {
            print("ok quit");
            quitting = true;
        } else {
            print("error " + verb + " unknown");
        }
    }
    if (point) {
        point->Unadvise(cookie);
        point->Release();
    }
    if (container) container->Release();
    host->Release();
    CoUninitialize();
    return 0;
}
