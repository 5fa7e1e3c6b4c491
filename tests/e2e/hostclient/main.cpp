// kv90hostclient: an integrator's C++ program using the host control through
// CoCreateInstance and its connection point, steered by a test on standard
// input. One command per line, one reply line each; events are printed as they
// come, UTF-8:
//   open [INSTALLDIR]     -> ok open window=N pid=N | error open hr=0x... text=...
//   person KEY NAME       -> ok person | error person hr=0x... text=...
//   close                 -> ok close | error close hr=0x... text=...
//   state                 -> ok state state=S window=N key=K name=N
//   caption               -> ok caption text=T (the station window's own caption)
//   click TEXT            -> ok click: BM_CLICK posted to the station's child window of that text
//   slots N               -> ok slots file=P person=P (SlotFile and PersonSlotFile of slot N)
//   points                -> ok points count=N events=0|1 (EnumConnectionPoints)
//   queue                 -> ok queue (QueueEvents = True)
//   poll MS               -> ok poll events=A,B,... : NextEvent(0) and a sleep that lets nothing in,
//                            as a polling script does, until Collected or MS pass
//   installdir DIR        -> ok installdir | error installdir ...
//   bytes N FORMAT FILE   -> ok bytes vt=N size=N: FingerBytes of slot N, its array written to FILE
//   savefinger N FORMAT PATH -> ok savefinger | error savefinger ...
//   saverecord FORMAT PATH   -> ok saverecord ms=N (the call's time) | error saverecord ...
//   errorinfo             -> ok errorinfo text=T (what GetErrorInfo holds now)
//   silent VERB ...       -> the command, its failure answered without reading the error information
//   fromthread VERB ...   -> the command called from another thread
//   whensent MS VERB ...  -> waits without dispatching until a message is sent to this thread (or MS
//                            pass), then the command: so its call is what lets the message in
//   release               -> ok release: every reference to the control let go
//   quit                  -> ok quit, then the program ends
//   event Ready | event Collected slot=N file=P person=P | event Closed reason=R exit=N
//   handler VERB ok | handler VERB error hr=... : what a handler (below) did (close: and its ms=N)
// With --copy-to DIR, each Collected handler copies both files there (as
// copy-N.bmp and person-N.bmp) before it returns, while the station waits.
// With --on-collected close|release, the Collected handler closes the station or
// releases the control; with --on-closed reopen, the first Closed handler opens again.
#include "KV90Host.h"

#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>

namespace {

constexpr UINT kCommand = WM_APP + 1;
std::wstring copyFolder;
std::string onCollected;
std::string onClosed;
bool reopened = false;

IFingerHost* host = nullptr;
IConnectionPointContainer* container = nullptr;
IConnectionPoint* point = nullptr;
DWORD cookie = 0;

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

std::string hexCode(HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(hr));
    return code;
}

bool readErrors = true;

std::string failure(HRESULT hr) {
    std::string text;
    IErrorInfo* info = nullptr;
    if (readErrors && GetErrorInfo(0, &info) == S_OK && info) {
        BSTR description = nullptr;
        if (SUCCEEDED(info->GetDescription(&description)) && description) {
            text = utf8(description);
            SysFreeString(description);
        }
        info->Release();
    }
    return "hr=" + hexCode(hr) + " text=" + text;
}

std::string outcome(HRESULT hr) { return SUCCEEDED(hr) ? "ok" : "error " + failure(hr); }

// Lets go of every reference the program holds, as a host that is done with the control.
void releaseAll() {
    if (point) {
        point->Unadvise(cookie);
        point->Release();
        point = nullptr;
    }
    if (container) {
        container->Release();
        container = nullptr;
    }
    if (host) {
        host->Release();
        host = nullptr;
    }
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
            if (onCollected == "close" && host) {
                const DWORD began = GetTickCount();
                const std::string result = outcome(host->Close());
                print("handler close " + result + " ms=" + std::to_string(GetTickCount() - began));
            } else if (onCollected == "release") {
                releaseAll();
                print("handler release ok");
            }
        } else if (id == 3 && parameters->cArgs == 2) {
            print("event Closed reason=" + argument(0) + " exit=" + argument(1));
            if (onClosed == "reopen" && !reopened && host) {
                reopened = true;
                print("handler open " + outcome(host->Open()));
            }
        } else {
            print("event unknown dispid=" + std::to_string(id));
        }
        return S_OK;
    }
};

void reply(const std::string& verb, HRESULT hr) {
    print(SUCCEEDED(hr) ? "ok " + verb : "error " + verb + " " + failure(hr));
}

BSTR bstr(const std::wstring& text) { return SysAllocStringLen(text.data(), static_cast<UINT>(text.size())); }

std::string textProperty(HRESULT (STDMETHODCALLTYPE IFingerHost::*getter)(BSTR*)) {
    BSTR value = nullptr;
    (host->*getter)(&value);
    const std::string text = value ? utf8(std::wstring(value, SysStringLen(value))) : std::string();
    SysFreeString(value);
    return text;
}

HWND stationWindow() {
    LONG window = 0;
    host->get_StationWindow(&window);
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(window));
}

void openStation(const std::string& folder) {
    if (!folder.empty()) {
        BSTR value = bstr(wide(folder));
        host->put_InstallDir(value);
        SysFreeString(value);
    }
    const HRESULT hr = host->Open();
    if (FAILED(hr)) return reply("open", hr);
    const HWND window = stationWindow();
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    print("ok open window=" + std::to_string(static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(window))) +
          " pid=" + std::to_string(pid));
}

void setPerson(std::istringstream& words) {
    std::string key, name;
    words >> key;
    std::getline(words >> std::ws, name);
    BSTR keyText = bstr(wide(key));
    BSTR nameText = bstr(wide(name));
    reply("person", host->SetPerson(keyText, nameText));
    SysFreeString(keyText);
    SysFreeString(nameText);
}

// A polling script's loop: it asks with 0 and sleeps without letting anything in.
void poll(DWORD limitMs) {
    std::string seen;
    const DWORD began = GetTickCount();
    bool collected = false;
    while (!collected && GetTickCount() - began < limitMs) {
        IFingerEvent* event = nullptr;
        const HRESULT hr = host->NextEvent(0, &event);
        if (FAILED(hr)) return reply("poll", hr);
        BSTR name = nullptr;
        event->get_Name(&name);
        const std::string text = name ? utf8(name) : std::string();
        SysFreeString(name);
        event->Release();
        if (!text.empty()) seen += (seen.empty() ? "" : ",") + text;
        collected = text == "Collected";
        if (!collected) Sleep(50);
    }
    print("ok poll events=" + seen);
}

// What an integrator does with FingerBytes: checks the array's kind and keeps its bytes.
void fingerBytes(std::istringstream& words) {
    LONG slot = 0;
    std::string format, file;
    words >> slot >> format;
    std::getline(words >> std::ws, file);
    BSTR formatText = bstr(wide(format));
    VARIANT bytes;
    VariantInit(&bytes);
    const HRESULT hr = host->FingerBytes(slot, formatText, &bytes);
    SysFreeString(formatText);
    if (FAILED(hr)) return reply("bytes", hr);
    LONG upper = -1;
    void* data = nullptr;
    const bool isArray = (V_VT(&bytes) & VT_ARRAY) && V_ARRAY(&bytes) && SafeArrayGetDim(V_ARRAY(&bytes)) == 1;
    if (isArray) SafeArrayGetUBound(V_ARRAY(&bytes), 1, &upper);
    const size_t size = static_cast<size_t>(upper + 1);
    if (isArray && SUCCEEDED(SafeArrayAccessData(V_ARRAY(&bytes), &data))) {
        if (FILE* out = _wfopen(wide(file).c_str(), L"wb")) {
            std::fwrite(data, 1, size, out);
            std::fclose(out);
        }
        SafeArrayUnaccessData(V_ARRAY(&bytes));
    }
    print("ok bytes vt=" + std::to_string(V_VT(&bytes)) + " size=" + std::to_string(size));
    VariantClear(&bytes);
}

void saveFinger(std::istringstream& words) {
    LONG slot = 0;
    std::string format, path;
    words >> slot >> format;
    std::getline(words >> std::ws, path);
    BSTR formatText = bstr(wide(format));
    BSTR pathText = bstr(wide(path));
    reply("savefinger", host->SaveFinger(slot, formatText, pathText));
    SysFreeString(formatText);
    SysFreeString(pathText);
}

void saveRecord(std::istringstream& words) {
    std::string format, path;
    words >> format;
    std::getline(words >> std::ws, path);
    BSTR formatText = bstr(wide(format));
    BSTR pathText = bstr(wide(path));
    const DWORD began = GetTickCount();
    const HRESULT hr = host->SaveRecord(formatText, pathText);
    if (SUCCEEDED(hr)) print("ok saverecord ms=" + std::to_string(GetTickCount() - began));
    else reply("saverecord", hr);
    SysFreeString(formatText);
    SysFreeString(pathText);
}

struct ChildSearch {
    std::wstring text;
    HWND found;
};

BOOL CALLBACK findChild(HWND child, LPARAM context) {
    auto* search = reinterpret_cast<ChildSearch*>(context);
    wchar_t caption[256] = {};
    GetWindowTextW(child, caption, 256);
    if (search->text != caption) return TRUE;
    search->found = child;
    return FALSE;
}

bool sentMessageWaits() { return (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0; }

void run(const std::string& line, bool& quitting);

void runVerb(const std::string& verb, std::istringstream& words, bool& quitting) {
    if (verb == "quit") {
        print("ok quit");
        quitting = true;
        return;
    }
    if (verb == "whensent") {
        DWORD limitMs = 0;
        words >> limitMs;
        const DWORD began = GetTickCount();
        while (!sentMessageWaits() && GetTickCount() - began < limitMs) Sleep(10);
        std::string rest;
        std::getline(words >> std::ws, rest);
        return run(rest, quitting);
    }
    if (!host) return print("error " + verb + " released");
    if (verb == "open") {
        std::string folder;
        std::getline(words >> std::ws, folder);
        openStation(folder);
    } else if (verb == "person") {
        setPerson(words);
    } else if (verb == "close") {
        reply(verb, host->Close());
    } else if (verb == "state") {
        LONG window = 0;
        host->get_StationWindow(&window);
        print("ok state state=" + textProperty(&IFingerHost::get_State) + " window=" + std::to_string(window) +
              " key=" + textProperty(&IFingerHost::get_PersonKey) + " name=" + textProperty(&IFingerHost::get_PersonName));
    } else if (verb == "caption") {
        wchar_t caption[512] = {};
        GetWindowTextW(stationWindow(), caption, 512);
        print("ok caption text=" + utf8(caption));
    } else if (verb == "click") {
        std::string text;
        std::getline(words >> std::ws, text);
        ChildSearch search{wide(text), nullptr};
        EnumChildWindows(stationWindow(), &findChild, reinterpret_cast<LPARAM>(&search));
        if (!search.found) return print("error click not-found");
        PostMessageW(search.found, BM_CLICK, 0, 0);
        print("ok click");
    } else if (verb == "slots") {
        LONG slot = 0;
        words >> slot;
        BSTR file = nullptr, person = nullptr;
        host->get_SlotFile(slot, &file);
        host->get_PersonSlotFile(slot, &person);
        print("ok slots file=" + utf8(file ? file : L"") + " person=" + utf8(person ? person : L""));
        SysFreeString(file);
        SysFreeString(person);
    } else if (verb == "points") {
        IEnumConnectionPoints* points = nullptr;
        const HRESULT hr = container->EnumConnectionPoints(&points);
        if (FAILED(hr)) return reply(verb, hr);
        int count = 0;
        bool events = false;
        IConnectionPoint* found = nullptr;
        while (points->Next(1, &found, nullptr) == S_OK) {
            IID id{};
            found->GetConnectionInterface(&id);
            events = events || IsEqualIID(id, DIID__IFingerHostEvents);
            found->Release();
            ++count;
        }
        points->Release();
        print("ok points count=" + std::to_string(count) + " events=" + (events ? "1" : "0"));
    } else if (verb == "queue") {
        reply(verb, host->put_QueueEvents(VARIANT_TRUE));
    } else if (verb == "poll") {
        DWORD limitMs = 0;
        words >> limitMs;
        poll(limitMs);
    } else if (verb == "installdir") {
        std::string folder;
        std::getline(words >> std::ws, folder);
        BSTR value = bstr(wide(folder));
        reply(verb, host->put_InstallDir(value));
        SysFreeString(value);
    } else if (verb == "bytes") {
        fingerBytes(words);
    } else if (verb == "savefinger") {
        saveFinger(words);
    } else if (verb == "saverecord") {
        saveRecord(words);
    } else if (verb == "errorinfo") {
        readErrors = true;
        print("ok errorinfo " + failure(S_OK).substr(std::string("hr=0x00000000 ").size()));
    } else if (verb == "release") {
        releaseAll();
        print("ok release");
    } else {
        print("error " + verb + " unknown");
    }
}

void run(const std::string& line, bool& quitting) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    if (verb == "silent") {
        std::string rest;
        std::getline(words >> std::ws, rest);
        readErrors = false;
        run(rest, quitting);
        readErrors = true;
    } else if (verb == "fromthread") {
        std::string rest;
        std::getline(words >> std::ws, rest);
        // A host that hands the control's pointer to a worker thread without marshalling it.
        std::thread([&rest, &quitting] { run(rest, quitting); }).join();
    } else {
        runVerb(verb, words, quitting);
    }
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i + 1 < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--copy-to") copyFolder = wide(argv[i + 1]);
        if (option == "--on-collected") onCollected = argv[i + 1];
        if (option == "--on-closed") onClosed = argv[i + 1];
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HRESULT hr = CoCreateInstance(CLSID_FingerHost, nullptr, CLSCTX_INPROC_SERVER, IID_IFingerHost,
                                  reinterpret_cast<void**>(&host));
    if (FAILED(hr)) {
        print("error create hr=" + std::to_string(static_cast<long>(hr)));
        return 1;
    }
    Sink sink;
    hr = host->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(DIID__IFingerHostEvents, &point);
    if (SUCCEEDED(hr)) hr = point->Advise(&sink, &cookie);
    print("host pid=" + std::to_string(GetCurrentProcessId()) + " advise=" + (SUCCEEDED(hr) ? "1" : "0") +
          " acp=" + std::to_string(GetACP()));

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
        run(*line, quitting);
    }
    releaseAll();
    CoUninitialize();
    return 0;
}
