// KV90Service: the station's local web service. No main window: a tray icon,
// the HTTP server on the loopback address, and the station's link, whose
// window and events live on this thread.
#include "common/SysOper.h"
#include "framework/HandleOwners.h"
#include "service/CallerPolicy.h"
#include "service/EventHistory.h"
#include "service/HostLinkStation.h"
#include "service/RefusalLog.h"
#include "service/ServiceConfig.h"
#include "service/ServiceRoutes.h"
#include "service/StationDesk.h"
#include "service/TextUtf8.h"
#include "service/TrayIcon.h"
#include "service/HttpServer.h"

#include <windows.h>

#include <string>

namespace {

// Exit codes for the tools that start the service.
constexpr int kExitRunsAlready = 2;
constexpr int kExitCannotListen = 3;

// Kept events: a whole person's ten fingers and more, so that a reloaded page misses none.
constexpr size_t kKeptEvents = 64;
constexpr size_t kQueuedPerListener = 64;
constexpr size_t kMaxListeners = 8;

std::wstring Tip(int port, StationState state) {
    const wchar_t* text = L"采集站未启动";
    if (state == StationState::Starting) text = L"采集站正在启动";
    if (state == StationState::Ready) text = L"采集站已就绪";
    if (state == StationState::Closing) text = L"采集站正在关闭";
    return L"KV90网页采集服务 127.0.0.1:" + std::to_wstring(port) + L"\n" + text;
}

// A failure the operator should see: a balloon on a tray icon of its own for
// a few seconds, since there is no window to show it in.
void TellAndWait(const std::wstring& text) {
    // IDI_ERROR and IDI_APPLICATION: the macros are typed for the ANSI calls here.
    TrayIcon tray(LoadIconW(nullptr, MAKEINTRESOURCEW(32513)), L"KV90网页采集服务");
    tray.ShowBalloon(L"KV90网页采集服务", text, true);
    const DWORD until = GetTickCount() + 5000;
    MSG message;
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string appPath = TSysOper::GetAppPath();

    UniqueHandle instance(CreateMutexA(nullptr, FALSE, "KV90Service"));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        TSysOper::WriteLog("网页采集服务已在运行,本次启动退出");
        TellAndWait(L"网页采集服务已在运行");
        return kExitRunsAlready;
    }

    std::vector<std::string> problems;
    const ServiceConfig config = ReadServiceConfig(appPath + "Config\\Service.ini", problems);
    for (const std::string& problem : problems) TSysOper::WriteLog("网页采集服务配置项无效,已忽略:" + problem);

    EventHistory events(kKeptEvents, kQueuedPerListener, kMaxListeners, NewRunTag());
    HostLinkStation station(AnsiToWide(appPath));
    StationDesk desk(station, events);
    const CallerPolicy policy(config);
    RefusalLog refusals([](const std::string& line) { TSysOper::WriteLog(line); });
    RouteLimits routeLimits;
    routeLimits.RecordsIni = AnsiToWide(appPath) + L"Config\\Records.ini";
    ServiceRoutes routes(policy, desk, events, refusals, KV90_SERVICE_VERSION, routeLimits);
    HttpServer server(routes);
    std::string error;
    if (!server.Bind(config.Port, error)) {
        TSysOper::WriteLog("网页采集服务无法监听端口" + std::to_string(config.Port) + ",错误:" + error);
        TellAndWait(L"网页采集服务无法监听端口" + std::to_wstring(config.Port) + L"，端口可能已被占用");
        return kExitCannotListen;
    }

    TrayIcon tray(LoadIconW(nullptr, MAKEINTRESOURCEW(32512)), Tip(config.Port, StationState::Stopped));
    tray.OnExit = [] { PostQuitMessage(0); };
    desk.OnStateChanged = [&](StationState state) { tray.SetTip(Tip(config.Port, state)); };

    server.Start();
    TSysOper::WriteLog("网页采集服务已启动,端口" + std::to_string(config.Port) + ",允许的网页来源" +
                       std::to_string(config.AllowedOrigins.size()) + "个");

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    // Commands still waiting are answered first, so that the server's workers
    // end; the server then drops every connection, whatever its callers do.
    desk.Stop();
    events.Shutdown();
    server.Stop();
    TSysOper::WriteLog("网页采集服务已退出");
    return 0;
}
