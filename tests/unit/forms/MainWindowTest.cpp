#include "forms/MainFixture.h"

#include <vector>

using MainWindowTest = MainFixture;

namespace {

bool IsAqua(const TPanel* p) { return p->Color() == colors::clAqua; }

}  // namespace

TEST_F(MainWindowTest, HasTheSpecifiedFrameAndButtons) {
    HWND wnd = main->Handle();
    RECT client{};
    GetClientRect(wnd, &client);
    EXPECT_EQ(client.right, 748);
    EXPECT_EQ(client.bottom, 350);
    const LONG style = GetWindowLongA(wnd, GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
    EXPECT_TRUE(style & WS_SYSMENU);
    char text[64] = {};
    GetWindowTextA(wnd, text, sizeof text);
    EXPECT_STREQ(text, "KV90指纹采集");
    char cls[64] = {};
    GetClassNameA(wnd, cls, sizeof cls);
    EXPECT_STREQ(cls, "TFrm_Main");

    struct {
        TButton* button;
        const char* caption;
        int left;
        bool enabled;
    } const buttons[] = {{main->Btn_Collect, "采集指纹", 441, false},
                         {main->Btn_Clear, "清空指纹", 502, false},
                         {main->Btn_View, "查看指纹", 563, false},
                         {main->Btn_SysConfig, "系统设置", 624, false},
                         {main->Btn_CollectFinish, "采集完成", 685, true}};
    for (const auto& b : buttons) {
        EXPECT_EQ(b.button->Caption(), b.caption);
        EXPECT_EQ(b.button->Left(), b.left);
        EXPECT_EQ(b.button->Top(), 317);
        EXPECT_EQ(b.button->Width(), 62);
        EXPECT_EQ(b.button->Height(), 25);
        EXPECT_EQ(IsWindowEnabled(b.button->Handle()) != 0, b.enabled) << b.caption;
    }
    EXPECT_EQ(main->Lb_Info->Left(), 208);
    EXPECT_EQ(main->Lb_Info->Top(), 322);
    EXPECT_EQ(main->Lb_Info->Font().Color(), colors::clRed);
    EXPECT_EQ(main->Lb_Info->Font().Height(), -14);
    EXPECT_EQ(main->Lb_Info->Font().Style(), TFontStyle::Bold);
    EXPECT_EQ(main->Lb_Info->Caption(), "");
    EXPECT_EQ(main->Font().Name(), "宋体");
    EXPECT_EQ(main->Font().Height(), -12);
}

TEST_F(MainWindowTest, SlotsSitWhereTheTableSaysWithHintsZeroToNine) {
    const int lefts[] = {203, 311, 419, 527, 638};
    for (int slot = 0; slot < 10; ++slot) {
        TImage* image = main->SlotImage(slot);
        auto panel = static_cast<TPanel*>(image->Parent());
        EXPECT_EQ(image->Hint(), std::to_string(slot));
        EXPECT_EQ(panel->Left(), lefts[slot % 5]);
        EXPECT_EQ(panel->Top(), slot < 5 ? 1 : 157);
        EXPECT_EQ(panel->Height(), slot < 5 ? 155 : 151);
        EXPECT_EQ(panel->Width(), 110);
        EXPECT_EQ(panel->Name(), "Panel" + std::to_string(slot + 1));
        EXPECT_EQ(panel->Tag(), 9999);
    }
    EXPECT_EQ(main->Img_Left1, main->SlotImage(0));
    EXPECT_EQ(main->Img_Right5, main->SlotImage(9));
    EXPECT_EQ(main->Pnl_View->Left(), 2);
    EXPECT_EQ(main->Pnl_View->Top(), 16);
    EXPECT_EQ(main->Img_View->Top(), 181);
    EXPECT_EQ(main->Img_View->Hint(), "");
    EXPECT_FALSE(main->Img_View->OnClick);
    EXPECT_TRUE(main->Img_Left3->OnClick);
    EXPECT_TRUE(main->Img_Left3->OnDblClick);
}

TEST_F(MainWindowTest, SelectingSlotSevenThenThreeMovesTextAndColour) {
    main->SelectSlot(main->Img_Right3);
    EXPECT_EQ(main->Lb_Info->Caption(), "当前采集的是【右手中指】");
    EXPECT_EQ(main->CurrentSlot(), 7);
    EXPECT_TRUE(IsAqua(main->Panel8));
    EXPECT_FALSE(main->Btn_View->Enabled());

    Occupy(main->Img_Left4);
    main->SelectSlot(main->Img_Left4);
    EXPECT_EQ(main->Lb_Info->Caption(), "当前采集的是【左手无名指】");
    EXPECT_EQ(main->CurrentSlot(), 3);
    EXPECT_TRUE(IsAqua(main->Panel4));
    EXPECT_EQ(main->Panel8->Color(), colors::clWindow);
    EXPECT_EQ(main->Panel11->Color(), colors::clWindow);
    EXPECT_EQ(main->Pnl_View->Color(), colors::clWindow);
    EXPECT_TRUE(main->Btn_View->Enabled());
    int aqua = 0;
    for (TComponent* c : main->Components())
        if (auto p = dynamic_cast<TPanel*>(c)) aqua += IsAqua(p);
    EXPECT_EQ(aqua, 1);
}

TEST_F(MainWindowTest, SelectingTheCurrentSlotAgainChangesNothing) {
    main->SelectSlot(main->Img_Left2);
    main->Lb_Info->SetCaption("采集失败");
    main->Btn_View->SetEnabled(true);
    main->Panel2->SetColor(colors::clWindow);
    main->SelectSlot(main->Img_Left2);
    EXPECT_EQ(main->Lb_Info->Caption(), "采集失败");
    EXPECT_TRUE(main->Btn_View->Enabled());
    EXPECT_FALSE(IsAqua(main->Panel2));
}

TEST_F(MainWindowTest, AClickOnASlotImageSelectsIt) {
    HWND panel = main->Panel8->Handle();
    SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 80));
    SendMessageA(panel, WM_LBUTTONUP, 0, MAKELPARAM(55, 80));
    EXPECT_EQ(main->CurrentImage(), main->Img_Right3);
    EXPECT_EQ(main->Lb_Info->Caption(), "当前采集的是【右手中指】");
}

TEST_F(MainWindowTest, NextSlotIsOnlyTheFollowingOneAndOnlyWhenEmpty) {
    main->SelectNextSlot();  // nothing current yet
    EXPECT_EQ(main->CurrentImage(), nullptr);

    main->SelectSlot(main->Img_Left5);
    main->SelectNextSlot();
    EXPECT_EQ(main->CurrentSlot(), 5);

    Occupy(main->Img_Right3);
    main->SelectSlot(main->Img_Right2);
    main->SelectNextSlot();
    EXPECT_EQ(main->CurrentSlot(), 6);  // slot 7 holds a finger: the selection stays

    main->SelectSlot(main->Img_Right5);
    main->SelectNextSlot();
    EXPECT_EQ(main->CurrentSlot(), 9);  // no wrap to slot 0
}

TEST_F(MainWindowTest, DoubleClickPressesTheViewButtonEvenWhenDisabled) {
    int views = 0;
    main->Btn_View->OnClick = [&](TObject*) { ++views; };
    ASSERT_FALSE(main->Btn_View->Enabled());
    HWND panel = main->Panel3->Handle();
    SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(55, 80));
    SendMessageA(panel, WM_LBUTTONUP, 0, MAKELPARAM(55, 80));
    SendMessageA(panel, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(55, 80));
    SendMessageA(panel, WM_LBUTTONUP, 0, MAKELPARAM(55, 80));
    EXPECT_EQ(main->CurrentSlot(), 2);
    EXPECT_EQ(views, 1);
}

TEST_F(MainWindowTest, FailureTextReplacesTheFingerTextAndLocksCaptureAndView) {
    main->SelectSlot(main->Img_Left1);
    main->Btn_Collect->SetEnabled(true);
    main->Btn_View->SetEnabled(true);
    main->ShowFailure("打开KV90采集仪失败");
    EXPECT_EQ(main->Lb_Info->Caption(), "打开KV90采集仪失败");
    EXPECT_FALSE(main->Btn_Collect->Enabled());
    EXPECT_FALSE(main->Btn_View->Enabled());
    EXPECT_TRUE(main->Btn_CollectFinish->Enabled());
}

TEST_F(MainWindowTest, CurrentFingerTextIsEmptyOutsideTheSlots) {
    dm->ShowCurrentFinger(main->Lb_Info, 9);
    EXPECT_EQ(main->Lb_Info->Caption(), "当前采集的是【右手小指】");
    dm->ShowCurrentFinger(main->Lb_Info, 10);
    EXPECT_EQ(main->Lb_Info->Caption(), "");
    dm->ShowCurrentFinger(main->Lb_Info, 0);
    dm->ShowCurrentFinger(main->Lb_Info, -1);
    EXPECT_EQ(main->Lb_Info->Caption(), "");
    dm->ShowCurrentFinger(nullptr, 3);  // never raises
}

TEST_F(MainWindowTest, CarriesItsSkinAndLeavesNoTemporaryCopyBehind) {
    EXPECT_TRUE(main->SkinEngine1->Ready());
    EXPECT_EQ(main->SkinEngine1->DisabledTag, 9999);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(temp) + "{*}*.ssk").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    EXPECT_THROW(TSkinEngine engine(dm), Exception);  // only a form can carry the engine
}
