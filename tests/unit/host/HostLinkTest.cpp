// The host link seen from a stand-in host window in this process.
#include "forms/MainFixture.h"
#include "Pump.h"

#include "common/PublicConst.h"
#include "common/StrOper.h"
#include "framework/SysUtils.h"

#include <cstring>
#include <functional>
#include <vector>

namespace {

struct Notification {
    WPARAM code;
    LPARAM value;
};

std::vector<Notification> g_received;

LRESULT CALLBACK HostProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == RegisterWindowMessageA("FINGERMSG")) {
        g_received.push_back({wParam, lParam});
        return 0;
    }
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

// A host window and its shared block FINGER_ACTIVEX_FILE holding the given text.
class StandInHost {
public:
    explicit StandInHost(const std::string& blockText = "") {
        WNDCLASSA wc{};
        wc.lpfnWndProc = HostProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "StandInHost";
        RegisterClassA(&wc);
        wnd_ = CreateWindowExA(0, "StandInHost", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
        block_.Reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, "FINGER_ACTIVEX_FILE"));
        const std::string text = blockText.empty() ? std::to_string(reinterpret_cast<UINT_PTR>(wnd_)) : blockText;
        void* view = MapViewOfFile(block_.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0);
        std::memcpy(view, text.c_str(), text.size() + 1);
        UnmapViewOfFile(view);
        g_received.clear();
    }
    ~StandInHost() { DestroyWindow(wnd_); }
    HWND Wnd() const { return wnd_; }

private:
    HWND wnd_;
    UniqueHandle block_;
};

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t p = 0; (p = text.find(what, p)) != std::string::npos; p += what.size()) ++n;
    return n;
}

const char kNoHostLine[] = "异步发送消息到ActiveX控件中失败,未找到此程序句柄";

class HostLinkTest : public MainFixture {
protected:
    LRESULT CopyData(const void* data, DWORD size) {
        COPYDATASTRUCT cds{0, size, const_cast<void*>(data)};
        return SendMessageA(main->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds));
    }
    std::string Caption() {
        char text[256] = {};
        GetWindowTextA(main->Handle(), text, sizeof text);
        return text;
    }
    // Names a known person, so that what the next message does is seen, not what the last one left.
    void NameKnownPerson() {
        const char text[] = "1234$XYZ";
        CopyData(text, sizeof text);
        ASSERT_EQ(dm->PersonKey, "1234");
        ASSERT_EQ(dm->PersonName, "XYZ");
        ASSERT_EQ(Caption(), "当前采集姓名为：【XYZ】的指纹信息");
    }
};

}  // namespace

TEST(StrOper, SplitsAtTheFirstDollar) {
    const struct {
        const char *text, *key, *name;
    } cases[] = {{"A$B", "A", "B"}, {"A$B$C", "A", "B$C"}, {"AB", "", "AB"},
                 {"$B", "", "B"},   {"A$", "A", ""},       {"", "", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(TStrOper::StrBefore(c.text, '$'), c.key) << c.text;
        EXPECT_EQ(TStrOper::StrAfter(c.text, '$'), c.name) << c.text;
    }
}

TEST_F(HostLinkTest, TheCollectBlockHoldsTheWindowHandleInDecimalAndAZero) {
    UniqueHandle block(OpenFileMappingA(FILE_MAP_READ, FALSE, "FINGER_COLLECT_FILE"));
    ASSERT_TRUE(block);
    auto view = static_cast<const char*>(MapViewOfFile(block.Get(), FILE_MAP_READ, 0, 0, 20));
    ASSERT_NE(view, nullptr);
    const std::string expected = std::to_string(reinterpret_cast<UINT_PTR>(main->Handle()));
    EXPECT_EQ(std::string(view), expected);
    for (size_t i = expected.size(); i < 20; ++i) EXPECT_EQ(view[i], 0) << i;
    UnmapViewOfFile(view);
    // Without a host the ready notification was dropped with its line.
    EXPECT_EQ(Count(createLog, kNoHostLine), 1u);
}

TEST_F(HostLinkTest, AHostFoundLaterIsUsedFromTheNextNotificationOn) {
    dm->PostMsgToActiveX(HOST_CODE_READY, 1);
    EXPECT_EQ(Count(Log(), kNoHostLine), 1u);
    StandInHost host;
    dm->PostMsgToActiveX(HOST_CODE_CLOSE, 0);
    dm->SendMsgToActiveX(HOST_CODE_COLLECTED, 7);
    Pump();
    ASSERT_EQ(g_received.size(), 2u);
    // The sent one arrives at once; the posted one when the queue is read.
    EXPECT_EQ(g_received[0].code, static_cast<WPARAM>(HOST_CODE_COLLECTED));
    EXPECT_EQ(g_received[0].value, 7);
    EXPECT_EQ(g_received[1].code, static_cast<WPARAM>(HOST_CODE_CLOSE));
    EXPECT_EQ(dm->HostWnd, host.Wnd());
}

TEST_F(HostLinkTest, ABlockThatIsNotANumberGivesTwoLinesPerNotification) {
    StandInHost host("abc");
    const size_t before = Log().size();
    dm->PostMsgToActiveX(HOST_CODE_READY, 1);
    const std::string log = Log().substr(before);
    EXPECT_EQ(
        Count(log, "从映像文件中获取通讯程序句柄时失败,函数GetNetAPIHandle中错误:'abc' is not a valid integer value"),
        1u);
    EXPECT_EQ(Count(log, kNoHostLine), 1u);
    EXPECT_EQ(dm->HostWnd, nullptr);
}

TEST_F(HostLinkTest, ABlockHoldingZeroCountsAsNoHost) {
    StandInHost host("0");
    const size_t before = Log().size();
    dm->PostMsgToActiveX(HOST_CODE_READY, 1);
    const std::string log = Log().substr(before);
    EXPECT_EQ(Count(log, kNoHostLine), 1u);
    EXPECT_EQ(Count(log, "GetNetAPIHandle"), 0u);
}

TEST_F(HostLinkTest, ThePersonTextNamesTheCaptionAndUnlocksTheCaptureButtons) {
    const char text[] = "1234$XYZ";
    CopyData(text, sizeof text);
    EXPECT_EQ(dm->PersonKey, "1234");
    EXPECT_EQ(dm->PersonName, "XYZ");
    EXPECT_EQ(Caption(), "当前采集姓名为：【XYZ】的指纹信息");
    EXPECT_TRUE(main->Btn_Collect->Enabled());
    EXPECT_TRUE(main->Btn_Clear->Enabled());
    EXPECT_TRUE(main->Btn_SysConfig->Enabled());
    EXPECT_FALSE(main->Btn_View->Enabled());
}

TEST_F(HostLinkTest, TheTextNeverRunsPastTheDataTheHostGave) {
    // The text sits at the very end of a page whose follower cannot be read.
    SYSTEM_INFO info;
    GetSystemInfo(&info);
    auto pages = static_cast<char*>(VirtualAlloc(nullptr, 2 * info.dwPageSize, MEM_COMMIT, PAGE_READWRITE));
    DWORD old;
    VirtualProtect(pages + info.dwPageSize, info.dwPageSize, PAGE_NOACCESS, &old);
    char* end = pages + info.dwPageSize;
    std::memcpy(end - 5, "AB$CD", 5);  // no zero byte
    const struct {
        const char* what;
        std::function<void()> send;
        const char *key, *name;
    } cases[] = {
        {"the text at the page's end", [&] { CopyData(end - 5, 5); }, "AB", "CD"},
        {"cbData ends the text early", [&] { CopyData(end - 5, 3); }, "AB", ""},
        // No data at all: an empty person, whatever the pointer or the size say.
        {"no bytes", [&] { CopyData("X$Y", 0); }, "", ""},
        {"no pointer", [&] { CopyData(nullptr, 10); }, "", ""},
        {"no COPYDATASTRUCT", [&] { SendMessageA(main->Handle(), WM_COPYDATA, 0, 0); }, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NO_FATAL_FAILURE(NameKnownPerson());
        c.send();
        EXPECT_EQ(dm->PersonKey, c.key);
        EXPECT_EQ(dm->PersonName, c.name);
        EXPECT_EQ(Caption(), std::string("当前采集姓名为：【") + c.name + "】的指纹信息");
    }
    VirtualFree(pages, 0, MEM_RELEASE);
}

TEST_F(HostLinkTest, OnlyTheCloseCodeOfTheHostsMessageClosesTheWindow) {
    int closes = 0;
    main->OnClose = [&](TObject*, TCloseAction& action) {
        ++closes;
        action = TCloseAction::caNone;
    };
    SendMessageA(main->Handle(), dm->ActiveMsgId, 3323, 0);
    SendMessageA(main->Handle(), dm->ActiveMsgId, 3325, 0);
    EXPECT_EQ(closes, 0);
    SendMessageA(main->Handle(), dm->ActiveMsgId, HOST_CODE_CLOSE, 0);
    EXPECT_EQ(closes, 1);
}

TEST_F(HostLinkTest, TheCollectBlockIsClosedOnceHoweverOftenTheWindowCloses) {
    ASSERT_TRUE(dm->CollectMapHandle);
    dm->CloseCollectMap();
    EXPECT_FALSE(dm->CollectMapHandle);
    dm->CloseCollectMap();
    EXPECT_FALSE(dm->CollectMapHandle);
}

TEST_F(HostLinkTest, CloseCommandsFinishAndCloseBoxTellTheHostOnceAndTheRestAreLogged) {
    StandInHost host;
    main->OnClose = [this](TObject* sender, TCloseAction& action) {
        main->FormClose(sender, action);
        action = TCloseAction::caNone;
    };
    dm->DeviceStarted = true;  // the device stops later: the window stays while it does
    SendMessageA(main->Handle(), dm->ActiveMsgId, HOST_CODE_CLOSE, 0);
    SendMessageA(main->Handle(), dm->ActiveMsgId, HOST_CODE_CLOSE, 0);
    main->Btn_CollectFinishClick(main->Btn_CollectFinish);
    SendMessageA(main->Handle(), WM_CLOSE, 0, 0);
    dm->DeviceStarted = false;
    Pump();
    ASSERT_EQ(g_received.size(), 1u);
    EXPECT_EQ(g_received[0].code, static_cast<WPARAM>(HOST_CODE_CLOSE));
    EXPECT_EQ(g_received[0].value, 0);
    EXPECT_EQ(Count(Log(), "采集窗口正在关闭,忽略重复的关闭请求"), 3u) << Log();
    // The thread's end after a close tells the host nothing more.
    EXPECT_FALSE(dm->TellHostClosing());
    Pump();
    EXPECT_EQ(g_received.size(), 1u);
}

TEST_F(HostLinkTest, TheCollectBlocksViewStaysMappedUntilTheProgramEnds) {
    main->OnClose = [this](TObject* sender, TCloseAction& action) {
        main->FormClose(sender, action);
        action = TCloseAction::caNone;
    };
    dm->DeviceStarted = true;
    SendMessageA(main->Handle(), dm->ActiveMsgId, HOST_CODE_CLOSE, 0);
    dm->DeviceStarted = false;
    // The handle went with the close; the view, and the block it keeps, go with the program.
    EXPECT_FALSE(dm->CollectMapHandle);
    ASSERT_TRUE(dm->CollectMapView);
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_NE(VirtualQuery(dm->CollectMapView.Get(), &info, sizeof info), 0u);
    EXPECT_EQ(info.State, static_cast<DWORD>(MEM_COMMIT));
    EXPECT_EQ(std::string(static_cast<const char*>(dm->CollectMapView.Get())),
              std::to_string(reinterpret_cast<UINT_PTR>(main->Handle())));
}

TEST_F(HostLinkTest, ACaptionShowsBytesThatAreNoGbkEscaped) {
    const char text[] = "1$\x81";
    CopyData(text, sizeof text);
    EXPECT_EQ(dm->PersonName, "\x81");
    EXPECT_EQ(Caption(), "当前采集姓名为：【\\x81】的指纹信息");
}
