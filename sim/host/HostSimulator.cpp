#include "HostSimulator.h"

#include "Clock.h"
#include "NumberText.h"
#include "StandardOutput.h"

namespace hostsim {

namespace {

constexpr UINT_PTR kLateBlockTimer = 1;
// Offered in the window's edit box, so that a person can name someone at once.
constexpr wchar_t kDemoPerson[] = L"0001$演示";

std::string number(unsigned long long value) { return std::to_string(value); }

std::string handleNumber(HWND window) {
    return number(static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(window)));
}

std::string failureReason(const Delivery& delivery) {
    if (delivery.error == ERROR_TIMEOUT) return "timeout";
    return "error-" + number(delivery.error);
}

}  // namespace

HostSimulator::HostSimulator(const Options& options)
    : options_(options),
      ids_(kv90host::registerLinkMessages()),
      window_(*this, ids_.finger),
      gate_(options.answerDelayMs, options.neverAnswer) {}

int HostSimulator::run() {
    const std::wstring personText = options_.hasPerson ? options_.person : std::wstring(kDemoPerson);
    if (!window_.create(personText)) {
        printLine("error window error=" + number(GetLastError()));
        return 1;
    }
    report("host hwnd=" + handleNumber(window_.handle()) + " pid=" + number(GetCurrentProcessId()) +
           " activemsg=" + number(ids_.active) + " fingermsg=" + number(ids_.finger));

    if (options_.noBlock) {
        report("block none");
    } else if (options_.lateBlockMs != 0) {
        SetTimer(window_.handle(), kLateBlockTimer, options_.lateBlockMs, nullptr);
        report("block pending delay=" + number(options_.lateBlockMs));
    } else {
        createBlock(options_.hasGarbageBlock ? toAnsi(options_.garbageBlock) : windowHandleText(window_.handle()),
                    "block");
    }

    AnswerGate& gate = gate_;
    input_.start(window_.handle(), MainWindow::kCommandsWaiting, [&gate](const std::string& line) {
        if (line == "release") gate.release();
        if (line == "quit") gate.quit();
    });

    if (!options_.startPath.empty()) startChild();
    if (!quitting_) lookForCaptureWindowAtStart();
    refreshStatus();

    for (;;) {
        HANDLE child = child_.waitHandle();
        const DWORD count = child ? 1 : 0;
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(count, count ? &child : nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (count == 1 && woke == WAIT_OBJECT_0) {
            childEnded();
            continue;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return exitCode_;
            if (!window_.preTranslate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
}

void HostSimulator::report(const std::string& line) {
    printLine(line);
    window_.addLine(fromUtf8OrAnsi(timeOfDayNow() + "  " + line));
}

void HostSimulator::refreshStatus() {
    std::wstring text = L"采集窗口: ";
    text += captureWindow_ ? fromUtf8OrAnsi(handleNumber(captureWindow_)) : std::wstring(L"未知");
    text += L"    主机块: ";
    text += block_.exists() ? fromAnsi(block_.text()) : std::wstring(L"无");
    if (child_.running()) text += L"    采集程序进程: " + std::to_wstring(child_.pid());
    window_.setStatus(text);
}

void HostSimulator::createBlock(const std::string& ansiText, const char* prefix) {
    if (block_.create(ansiText)) {
        report(std::string(prefix) + " created text=" + toUtf8(fromAnsi(block_.text())) +
               " shared=" + (block_.wasShared() ? "1" : "0"));
    } else {
        report(std::string(prefix) + " failed error=" + number(block_.lastError()));
    }
    refreshStatus();
}

void HostSimulator::startChild() {
    std::wstring error;
    if (child_.start(options_.startPath, error)) {
        report("started pid=" + number(child_.pid()) + " path=" + toUtf8(child_.fullPath()));
        refreshStatus();
        return;
    }
    report("start-failed path=" + toUtf8(options_.startPath) + " reason=" + toUtf8(error));
    if (options_.exitWithChild) quit(1, "start-failed");
}

void HostSimulator::childEnded() {
    const DWORD pid = child_.pid();
    const DWORD code = child_.collect();
    report("child-exit pid=" + number(pid) + " code=" + number(code));
    refreshStatus();
    if (options_.exitWithChild) quit(static_cast<int>(code), "child-exit");
}

void HostSimulator::lookForCaptureWindowAtStart() {
    const CaptureBlockContent content = readCaptureBlock();
    if (!content.exists) return;
    report("capture-block text=" + toUtf8(fromAnsi(content.text)));
    HWND window = nullptr;
    if (parseWindowHandle(content.text, window) && IsWindow(window)) {
        adoptCaptureWindow(window, "block");
        sendAutomaticPerson();
    }
}

void HostSimulator::fingerMessage(WPARAM code, LPARAM value, bool sent) {
    report("notify code=" + number(code) + " name=" + notificationName(code) + " value=" +
           std::to_string(static_cast<long long>(value)) + " sent=" + (sent ? "1" : "0") + " time=" + timeOfDayNow());
    switch (code) {
    case kCodeReady:
        onReady(value);
        break;
    case kCodeCollected:
        onCollected(value);
        break;
    case kCodeClose:
        if (options_.quitOnClose) quit(0, "close");
        break;
    default:
        break;
    }
}

void HostSimulator::onReady(LPARAM value) {
    const CaptureBlockContent content = readCaptureBlock();
    report(content.exists ? "capture-block text=" + toUtf8(fromAnsi(content.text))
                          : std::string("capture-block missing"));
    HWND window = reinterpret_cast<HWND>(value);
    if (window) {
        adoptCaptureWindow(window, "ready");
        sendAutomaticPerson();
    }
}

void HostSimulator::onCollected(LPARAM value) {
    const DWORD began = GetTickCount();
    const AnswerGate::Outcome outcome = gate_.hold();
    if (outcome == AnswerGate::Outcome::AtOnce) return;
    report("answer code=" + number(kCodeCollected) + " value=" + std::to_string(static_cast<long long>(value)) +
           " how=" + outcomeName(outcome) + " held=" + number(GetTickCount() - began) + " time=" + timeOfDayNow());
}

HWND HostSimulator::captureTarget() {
    if (captureWindow_ && IsWindow(captureWindow_)) return captureWindow_;
    const CaptureBlockContent content = readCaptureBlock();
    HWND window = nullptr;
    if (content.exists && parseWindowHandle(content.text, window) && IsWindow(window)) {
        adoptCaptureWindow(window, "block");
        return window;
    }
    return nullptr;
}

void HostSimulator::adoptCaptureWindow(HWND window, const char* source) {
    if (window == captureWindow_) return;
    captureWindow_ = window;
    report("capture hwnd=" + handleNumber(window) + " source=" + source);
    refreshStatus();
}

void HostSimulator::sendAutomaticPerson() {
    // Once per capture window: a later READY from a new capture program gets it too.
    if (!options_.hasPerson || !captureWindow_ || personSentTo_ == captureWindow_) return;
    personSentTo_ = captureWindow_;
    std::string details;
    const bool arrived = sendPerson(options_.person, details);
    report(std::string(arrived ? "person-sent " : "person-failed ") + details);
}

bool HostSimulator::sendPerson(const std::wstring& text, std::string& details) {
    const HWND target = captureTarget();
    if (!target) {
        details = "reason=no-capture-window";
        return false;
    }
    const std::vector<unsigned char> payload = personPayload(text);
    const Delivery delivery = sendCopyData(target, window_.handle(), payload, static_cast<DWORD>(payload.size()), false,
                                           0, options_.sendTimeoutMs);
    details =
        "text=" + toUtf8(text) + " cb=" + number(payload.size()) + " hex=" + toHex(payload.data(), payload.size());
    if (!delivery.delivered) {
        details += " reason=" + failureReason(delivery);
        return false;
    }
    details += " result=" + std::to_string(static_cast<long long>(delivery.result));
    return true;
}

bool HostSimulator::sendActive(WPARAM code, LPARAM value, bool send, std::string& details) {
    const HWND target = captureTarget();
    if (!target) {
        details = "reason=no-capture-window";
        return false;
    }
    details = "code=" + number(code) + " value=" + std::to_string(static_cast<long long>(value)) +
              " send=" + (send ? "1" : "0");
    const Delivery delivery = send ? sendCommand(target, ids_.active, code, value, options_.sendTimeoutMs)
                                   : postCommand(target, ids_.active, code, value);
    if (!delivery.delivered) {
        details += " reason=" + failureReason(delivery);
        return false;
    }
    if (send) details += " result=" + std::to_string(static_cast<long long>(delivery.result));
    return true;
}

void HostSimulator::personRequested(const std::wstring& text) {
    std::string details;
    const bool arrived = sendPerson(text, details);
    report(std::string(arrived ? "person-sent " : "person-failed ") + details);
}

void HostSimulator::commandRequested(WPARAM code) {
    std::string details;
    const bool arrived = sendActive(code, 0, false, details);
    report(std::string(arrived ? "active-sent " : "active-failed ") + details);
}

void HostSimulator::timerElapsed(UINT_PTR id) {
    if (id != kLateBlockTimer) return;
    KillTimer(window_.handle(), kLateBlockTimer);
    createBlock(options_.hasGarbageBlock ? toAnsi(options_.garbageBlock) : windowHandleText(window_.handle()), "block");
}

void HostSimulator::commandsWaiting() {
    for (const std::string& line : input_.take()) {
        if (quitting_) return;
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        Command command;
        std::string error;
        if (!parseCommand(line, command, error)) {
            const size_t start = line.find_first_not_of(" \t");
            printLine("error " + line.substr(start, line.find_first_of(" \t", start) - start) + " " + error);
            continue;
        }
        runCommand(command);
    }
}

void HostSimulator::runCommand(const Command& command) {
    std::string details;
    bool done = true;
    switch (command.kind) {
    case CommandKind::Person:
        done = sendPerson(command.text, details);
        break;
    case CommandKind::Active:
        done = sendActive(command.code, command.value, command.send, details);
        break;
    case CommandKind::CopyData: {
        const HWND target = captureTarget();
        if (!target) {
            done = false;
            details = "reason=no-capture-window";
            break;
        }
        const DWORD count = command.hasByteCount ? command.byteCount : static_cast<DWORD>(command.bytes.size());
        const Delivery delivery = sendCopyData(target, window_.handle(), command.bytes, count, command.nullData,
                                               command.tag, options_.sendTimeoutMs);
        details = "bytes=" + number(command.bytes.size()) + " cb=" + number(count) +
                  " null=" + (command.nullData ? "1" : "0") + " dw=" + number(command.tag);
        if (delivery.delivered) {
            details += " result=" + std::to_string(static_cast<long long>(delivery.result));
        } else {
            done = false;
            details += " reason=" + failureReason(delivery);
        }
        break;
    }
    case CommandKind::BlockCreate:
        createBlock(command.hasText ? toAnsi(command.text) : windowHandleText(window_.handle()), "block");
        done = block_.exists();
        details = done ? "text=" + toUtf8(fromAnsi(block_.text())) : "error=" + number(block_.lastError());
        break;
    case CommandKind::BlockRemove:
        block_.remove();
        report("block removed");
        break;
    case CommandKind::Release:
        // A held answer took the release already; one that found none must not
        // let the next collected notification through.
        gate_.forgetRelease();
        break;
    case CommandKind::Status:
        details = "hwnd=" + handleNumber(window_.handle()) + " capture=" + handleNumber(captureWindow_) +
                  " block=" + (block_.exists() ? toUtf8(fromAnsi(block_.text())) : std::string("-")) +
                  " child=" + number(child_.running() ? child_.pid() : 0);
        break;
    case CommandKind::Quit:
        printLine("ok quit");
        quit(0, "quit");
        return;
    }
    const std::string reply = std::string(done ? "ok " : "error ") + command.name;
    printLine(details.empty() ? reply : reply + " " + details);
    if (command.kind == CommandKind::Person || command.kind == CommandKind::Active ||
        command.kind == CommandKind::CopyData)
        window_.addLine(fromUtf8OrAnsi(timeOfDayNow() + "  " + reply + " " + details));
}

void HostSimulator::quit(int exitCode, const char* reason) {
    if (quitting_) return;
    quitting_ = true;
    exitCode_ = exitCode;
    gate_.quit();
    printLine("exit code=" + std::to_string(exitCode) + " reason=" + reason);
    if (window_.handle()) {
        DestroyWindow(window_.handle());
    } else {
        PostQuitMessage(exitCode_);
    }
}

void HostSimulator::windowDestroyed() {
    if (!quitting_) {
        quitting_ = true;
        printLine("exit code=0 reason=window");
    }
    PostQuitMessage(exitCode_);
}

}  // namespace hostsim
