#include "Commands.h"
#include "DrawnText.h"
#include "ForeignControls.h"
#include "HostWindow.h"
#include "Json.h"
#include "KernelObjects.h"
#include "Processes.h"
#include "ReferenceBox.h"
#include "ScreenPixel.h"
#include "Text.h"
#include "WindowActions.h"
#include "WindowQuery.h"
#include <windows.h>
#include <functional>
#include <map>
#include <stdexcept>

namespace {

using Args = std::vector<std::string>;
using Handler = std::function<std::string(const Args&)>;

const UINT kDefaultSendTimeoutMs = 10000;

std::string ok() { return JsonObject().addBool("ok", true).str(); }

std::string failure(const std::string& why) { return JsonObject().addBool("ok", false).add("error", why).str(); }

const std::string& arg(const Args& a, size_t i) {
    if (i >= a.size()) throw std::invalid_argument("missing argument " + std::to_string(i));
    return a[i];
}

long long number(const Args& a, size_t i) { return parseNumber(arg(a, i)); }
long long numberOr(const Args& a, size_t i, long long fallback) { return i < a.size() ? parseNumber(a[i]) : fallback; }
HWND window(const Args& a, size_t i) { return handleFrom(arg(a, i)); }

std::string colourJson(COLORREF c) {
    JsonArray rgb;
    rgb.add(GetRValue(c)).add(GetGValue(c)).add(GetBValue(c));
    return rgb.str();
}

std::string sendReply(bool answered, DWORD_PTR result) {
    if (!answered) return failure("no answer, error " + std::to_string(GetLastError()));
    return JsonObject().addBool("ok", true).add("result", static_cast<long long>(result)).str();
}

const std::map<std::string, Handler>& handlers() {
    static const std::map<std::string, Handler> table = {
        {"ping", [](const Args&) { return JsonObject().addBool("ok", true).add("pid", GetCurrentProcessId()).str(); }},
        {"windows",
         [](const Args&) {
             return JsonObject().addBool("ok", true).addRaw("windows", describeTopLevelWindows()).str();
         }},
        {"window",
         [](const Args& a) {
             HWND h = window(a, 1);
             if (!IsWindow(h)) return JsonObject().addBool("ok", true).addBool("exists", false).str();
             return JsonObject().addBool("ok", true).addBool("exists", true).addRaw("window", describeWindow(h)).str();
         }},
        {"message_windows",
         [](const Args&) {
             return JsonObject().addBool("ok", true).addRaw("windows", describeMessageOnlyWindows()).str();
         }},
        {"children",
         [](const Args& a) {
             HWND h = window(a, 1);
             if (!IsWindow(h)) return failure("no such window");
             return JsonObject().addBool("ok", true).addRaw("children", describeChildWindows(h)).str();
         }},
        {"regmsg",
         [](const Args& a) { return JsonObject().addBool("ok", true).add("msg", messageFrom(arg(a, 1))).str(); }},
        {"post",
         [](const Args& a) {
             bool done = postTo(window(a, 1), messageFrom(arg(a, 2)), static_cast<WPARAM>(numberOr(a, 3, 0)),
                                static_cast<LPARAM>(numberOr(a, 4, 0)));
             return done ? ok() : failure("PostMessage failed, error " + std::to_string(GetLastError()));
         }},
        {"send",
         [](const Args& a) {
             DWORD_PTR result = 0;
             bool answered = sendTo(window(a, 1), messageFrom(arg(a, 2)), static_cast<WPARAM>(numberOr(a, 3, 0)),
                                    static_cast<LPARAM>(numberOr(a, 4, 0)),
                                    static_cast<UINT>(numberOr(a, 5, kDefaultSendTimeoutMs)), result);
             return sendReply(answered, result);
         }},
        {"copydata",
         [](const Args& a) {
             DWORD_PTR result = 0;
             bool answered = sendCopyData(window(a, 1), window(a, 2), static_cast<ULONG_PTR>(number(a, 3)),
                                          fromHex(a.size() > 4 ? a[4] : std::string()),
                                          static_cast<UINT>(numberOr(a, 5, kDefaultSendTimeoutMs)), result);
             return sendReply(answered, result);
         }},
        {"click",
         [](const Args& a) { return postTo(window(a, 1), BM_CLICK, 0, 0) ? ok() : failure("PostMessage failed"); }},
        {"close",
         [](const Args& a) { return postTo(window(a, 1), WM_CLOSE, 0, 0) ? ok() : failure("PostMessage failed"); }},
        {"pixel",
         [](const Args& a) {
             COLORREF c = screenPixel(static_cast<int>(number(a, 1)), static_cast<int>(number(a, 2)));
             if (c == CLR_INVALID) return failure("pixel not readable");
             return JsonObject().addBool("ok", true).addRaw("rgb", colourJson(c)).str();
         }},
        {"drawn_text",
         [](const Args& a) {
             // hwnd, left, top, width, height, face, font height, weight, r, g, b, align, text
             const int left = static_cast<int>(number(a, 2)), top = static_cast<int>(number(a, 3));
             const RECT area{left, top, left + static_cast<int>(number(a, 4)), top + static_cast<int>(number(a, 5))};
             const DrawnTextFont font{fromUtf8(arg(a, 6)), static_cast<int>(number(a, 7)),
                                      static_cast<int>(number(a, 8)), RGB(number(a, 9), number(a, 10), number(a, 11))};
             const std::string& align = arg(a, 12);
             const UINT format = align == "center" ? DT_CENTER : align == "right" ? DT_RIGHT : DT_LEFT;
             try {
                 const DrawnTextComparison c = compareDrawnText(window(a, 1), area, font, format, fromUtf8(arg(a, 13)));
                 return JsonObject().addBool("ok", true).add("ink", c.ink).add("mismatches", c.mismatches).str();
             } catch (const std::runtime_error& e) {
                 return failure(e.what());
             }
         }},
        {"syscolor",
         [](const Args& a) {
             return JsonObject()
                 .addBool("ok", true)
                 .addRaw("rgb", colourJson(systemColour(static_cast<int>(number(a, 1)))))
                 .str();
         }},
        {"mutex_hold",
         [](const Args& a) {
             MutexHold m = holdMutex(arg(a, 1));
             if (!m.held) return failure("CreateMutex failed, error " + std::to_string(GetLastError()));
             return JsonObject().addBool("ok", true).addBool("existed", m.existed).str();
         }},
        {"mutex_release", [](const Args& a) { return releaseMutex(arg(a, 1)) ? ok() : failure("not held"); }},
        {"mutex_exists",
         [](const Args& a) {
             return JsonObject().addBool("ok", true).addBool("exists", mutexExists(arg(a, 1))).str();
         }},
        {"mapping_read",
         [](const Args& a) {
             std::vector<unsigned char> bytes = readMapping(arg(a, 1), static_cast<size_t>(number(a, 2)));
             return JsonObject().addBool("ok", true).add("hex", toHex(bytes.data(), bytes.size())).str();
         }},
        {"mapping_create",
         [](const Args& a) {
             bool existed = false;
             if (!createMapping(arg(a, 1), static_cast<size_t>(number(a, 2)), fromHex(a.size() > 3 ? a[3] : ""),
                                existed))
                 return failure("CreateFileMapping failed, error " + std::to_string(GetLastError()));
             return JsonObject().addBool("ok", true).addBool("existed", existed).str();
         }},
        {"mapping_close", [](const Args& a) { return closeMapping(arg(a, 1)) ? ok() : failure("not held"); }},
        {"procs",
         [](const Args&) { return JsonObject().addBool("ok", true).addRaw("procs", describeProcesses()).str(); }},
        {"kill",
         [](const Args& a) {
             bool done = terminateProcess(static_cast<DWORD>(number(a, 1)), static_cast<UINT>(numberOr(a, 2, 1)));
             return done ? ok() : failure("TerminateProcess failed, error " + std::to_string(GetLastError()));
         }},
        {"file_hold",
         [](const Args& a) {
             return holdFile(arg(a, 1)) ? ok() : failure("CreateFile failed, error " + std::to_string(GetLastError()));
         }},
        {"file_release", [](const Args& a) { return releaseFile(arg(a, 1)) ? ok() : failure("not held"); }},
        {"memory",
         [](const Args& a) {
             const std::string figures = describeMemory(static_cast<DWORD>(number(a, 1)));
             if (figures.empty()) return failure("cannot read the process, error " + std::to_string(GetLastError()));
             return JsonObject().addBool("ok", true).addRaw("memory", figures).str();
         }},
        {"fault",
         [](const Args& a) {
             return injectFault(static_cast<DWORD>(number(a, 1)))
                        ? ok()
                        : failure("CreateRemoteThread failed, error " + std::to_string(GetLastError()));
         }},
        {"settext",
         [](const Args& a) {
             DWORD_PTR result = 0;
             bool answered = setTextOf(window(a, 1), fromUtf8(a.size() > 2 ? a[2] : std::string()),
                                       static_cast<UINT>(numberOr(a, 3, kDefaultSendTimeoutMs)), result);
             return sendReply(answered, result);
         }},
        {"toolbar",
         [](const Args& a) {
             HWND h = window(a, 1);
             if (!IsWindow(h)) return failure("no such window");
             return JsonObject().addBool("ok", true).addRaw("buttons", describeToolbarButtons(h)).str();
         }},
        {"guithread",
         [](const Args& a) {
             HWND h = window(a, 1);
             if (!IsWindow(h)) return failure("no such window");
             return JsonObject().addBool("ok", true).addRaw("thread", describeGuiThread(h)).str();
         }},
        {"proc_watch",
         [](const Args& a) {
             return watchProcess(static_cast<DWORD>(number(a, 1)))
                        ? ok()
                        : failure("OpenProcess failed, error " + std::to_string(GetLastError()));
         }},
        {"spawn",
         [](const Args& a) {
             DWORD pid = 0;
             if (!startWatchedProcess(fromUtf8(arg(a, 1)), pid))
                 return failure("CreateProcess failed, error " + std::to_string(GetLastError()));
             return JsonObject().addBool("ok", true).add("pid", pid).str();
         }},
        {"proc_exit",
         [](const Args& a) {
             DWORD code = 0;
             bool ended = watchedExitCode(static_cast<DWORD>(number(a, 1)), code);
             JsonObject o;
             o.addBool("ok", true).addBool("ended", ended);
             if (ended) o.add("code", static_cast<long long>(code));
             return o.str();
         }},
        {"host_start",
         [](const Args& a) {
             HWND h = startHostWindow(fromUtf8(a.size() > 1 ? a[1] : "KV90 probe host"));
             if (!h) return failure("host window not created");
             return JsonObject()
                 .addBool("ok", true)
                 .add("hwnd", static_cast<long long>(reinterpret_cast<intptr_t>(h)))
                 .str();
         }},
        {"host_events",
         [](const Args&) { return JsonObject().addBool("ok", true).addRaw("events", takeHostEvents()).str(); }},
        {"host_stop",
         [](const Args&) {
             stopHostWindow();
             return ok();
         }},
        {"refbox",
         [](const Args& a) {
             bool shown =
                 showReferenceBox(fromUtf8(arg(a, 3)), fromUtf8(arg(a, 2)), static_cast<unsigned>(number(a, 1)));
             return shown ? ok() : failure("thread not created");
         }},
    };
    return table;
}

}  // namespace

std::string runCommand(const std::vector<std::string>& fields, bool& quit) {
    quit = false;
    if (fields.empty() || fields[0].empty()) return failure("empty command");
    if (fields[0] == "quit") {
        quit = true;
        return ok();
    }
    auto it = handlers().find(fields[0]);
    if (it == handlers().end()) return failure("unknown command: " + fields[0]);
    try {
        return it->second(fields);
    } catch (const std::exception& e) {
        return failure(fields[0] + ": " + e.what());
    }
}
