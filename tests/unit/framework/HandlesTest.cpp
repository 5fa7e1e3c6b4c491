// Handle owners where the system takes ownership only when a call succeeds.
#include "framework/Handles.h"

#include <gtest/gtest.h>

TEST(GiveWindowRegion, TheSystemOwnsTheRegionOnlyOnceTheWindowTookIt) {
    HWND wnd = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, wnd);
    RegionHandle taken(CreateRectRgn(0, 0, 40, 40));
    EXPECT_TRUE(GiveWindowRegion(wnd, taken));
    EXPECT_FALSE(taken) << "the window's region would be deleted under it";

    DestroyWindow(wnd);
    RegionHandle refused(CreateRectRgn(0, 0, 40, 40));
    EXPECT_FALSE(GiveWindowRegion(wnd, refused));
    ASSERT_TRUE(refused) << "a region nobody took was let go of, and leaks";
    RECT box{};
    EXPECT_EQ(SIMPLEREGION, GetRgnBox(refused.Get(), &box)) << "the kept region is no longer valid";
}
