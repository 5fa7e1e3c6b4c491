#include "forms/MainFixture.h"

#include <vector>

using MainWindowTest = MainFixture;

namespace {

bool IsAqua(const TPanel* p) { return p->Color() == colors::clAqua; }

}  // namespace

TEST_F(MainWindowTest, CannotBeResizedOrMaximizedAndIsFoundByItsClass) {
    HWND wnd = main->Handle();
    const LONG style = GetWindowLongA(wnd, GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
    EXPECT_TRUE(style & WS_SYSMENU);
    // The host and the other programs of the family look for the capture window by its class.
    EXPECT_EQ(FindWindowA("TFrm_Main", nullptr), wnd);
}

TEST_F(MainWindowTest, BeforeAPersonIsNamedOnlyTheFinishButtonWorksAndNoSlotIsChosen) {
    for (TButton* button : {main->Btn_Collect, main->Btn_Clear, main->Btn_View, main->Btn_SysConfig})
        EXPECT_FALSE(IsWindowEnabled(button->Handle())) << button->Caption();
    EXPECT_TRUE(IsWindowEnabled(main->Btn_CollectFinish->Handle()));
    EXPECT_EQ(main->CurrentImage(), nullptr);
    EXPECT_EQ(main->Lb_Info->Caption(), "");
}

TEST_F(MainWindowTest, AClickOnEachSlotChoosesThatSlotAndOnThePreviewChoosesNone) {
    auto clickImage = [](TImage* image) {
        HWND panel = image->Parent()->Handle();
        const LPARAM at = MAKELPARAM(image->Left() + image->Width() / 2, image->Top() + image->Height() / 2);
        SendMessageA(panel, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(panel, WM_LBUTTONUP, 0, at);
    };
    for (int slot : {4, 0, 9, 5, 1, 8, 2, 7, 3, 6}) {
        TImage* image = main->SlotImage(slot);
        clickImage(image);
        EXPECT_EQ(main->CurrentImage(), image) << slot;
        EXPECT_EQ(main->CurrentSlot(), slot);
        EXPECT_TRUE(IsAqua(static_cast<TPanel*>(image->Parent()))) << slot;
    }
    clickImage(main->Img_View);
    EXPECT_EQ(main->CurrentSlot(), 6);
    EXPECT_FALSE(IsAqua(main->Panel11));
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
