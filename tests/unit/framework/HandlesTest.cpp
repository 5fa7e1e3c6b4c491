// Handle owners: where the system takes ownership only when a call succeeds,
// and those that hold more than one handle together.
#include "framework/Handles.h"

#include <gtest/gtest.h>

#include <utility>

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

TEST(OffscreenBitmap, ADibSectionIsDrawnThroughItsContextAndReadThroughItsBitsTopRowFirst) {
    OffscreenBitmap surface;
    ASSERT_TRUE(surface.MakeDib(8, 4));
    EXPECT_EQ(8, surface.Width());
    EXPECT_EQ(4, surface.Height());
    ASSERT_NE(nullptr, surface.Bits());
    BrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
    const RECT second{0, 1, 8, 2};
    FillRect(surface.Dc(), &second, red.Get());
    GdiFlush();
    EXPECT_EQ(0x00FF0000u, surface.Bits()[1 * 8 + 3] & 0xFFFFFFu);
    EXPECT_EQ(0u, surface.Bits()[0] & 0xFFFFFFu);
}

TEST(OffscreenBitmap, ACompatibleBitmapTakesTheDevicesFormatAndHasNoBitsToReach) {
    TWindowDC screen(nullptr);
    OffscreenBitmap surface;
    ASSERT_TRUE(surface.MakeCompatible(screen.Get(), 5, 3));
    EXPECT_EQ(nullptr, surface.Bits());
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(surface.Bitmap(), sizeof info, &info));
    EXPECT_EQ(GetDeviceCaps(screen.Get(), BITSPIXEL), info.bmBitsPixel);
    EXPECT_EQ(5, info.bmWidth);
}

TEST(OffscreenBitmap, TheBitmapStaysSelectedWhereverItsOwnerGoesAndLeavesWithTheContext) {
    OffscreenBitmap surface;
    ASSERT_TRUE(surface.MakeDib(2, 2));
    EXPECT_EQ(surface.Bitmap(), GetCurrentObject(surface.Dc(), OBJ_BITMAP));
    OffscreenBitmap moved(std::move(surface));
    EXPECT_FALSE(surface);
    EXPECT_EQ(nullptr, surface.Dc());
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved.Bitmap(), GetCurrentObject(moved.Dc(), OBJ_BITMAP));
    const HBITMAP bitmap = moved.Bitmap();
    moved.Reset();
    EXPECT_FALSE(moved);
    EXPECT_EQ(0, moved.Width());
    EXPECT_EQ(0u, static_cast<unsigned>(GetObjectType(bitmap))) << "the bitmap outlived its owner";
}

TEST(MappedView, AViewIsUnmappedOnceByItsLastOwner) {
    UniqueHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, nullptr));
    ASSERT_TRUE(mapping);
    MappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_TRUE(view);
    void* const address = view.Get();
    MappedView moved(std::move(view));
    EXPECT_FALSE(view);
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_TRUE(VirtualQuery(address, &info, sizeof info));
    EXPECT_EQ(static_cast<DWORD>(MEM_COMMIT), info.State);
    moved.Reset();
    ASSERT_TRUE(VirtualQuery(address, &info, sizeof info));
    EXPECT_NE(static_cast<DWORD>(MEM_COMMIT), info.State) << "the view is still mapped";
}
