// The viewer's zoom steps in single-precision arithmetic, on a real JPEG file.
#include "forms/MainFixture.h"

#include "forms/ImageEdit.h"
#include "images/ImgOper.h"

#include <memory>

namespace {

// A 640 x 640 24-bit bitmap, saved as the view command's JPEG file.
std::string MakeViewFile(const TempFolder& folder) {
    TBitmap bitmap;
    bitmap.SetSize(640, 640);
    bitmap.SaveToFile(folder.Path() + "Temp\\0.bmp");
    const std::string jpg = folder.Path() + "Temp\\EditImage.jpg";
    EXPECT_TRUE(TImgOper::BmpToJpg(folder.Path() + "Temp\\0.bmp", jpg));
    return jpg;
}

class ImageEditTest : public MainFixture {
protected:
    void SetUp() override {
        MainFixture::SetUp();
        viewer.reset(new TFrm_ImageEdit(nullptr));
        viewer->HandleNeeded();
        viewer->LoadJpgFile(MakeViewFile(folder));
    }
    void TearDown() override {
        viewer.reset();
        MainFixture::TearDown();
    }
    void Press(TToolButton* button, int times = 1) {
        for (int i = 0; i < times; ++i) button->Click();
    }
    std::unique_ptr<TFrm_ImageEdit> viewer;
};

}  // namespace

TEST_F(ImageEditTest, LoadsTheImageAtItsOwnSizeInTheTopLeftCorner) {
    EXPECT_EQ(viewer->Image_Source->Width(), 640);
    EXPECT_EQ(viewer->Image_Source->Height(), 640);
    EXPECT_EQ(viewer->Image_Source->Left(), 0);
    EXPECT_EQ(viewer->Image_Source->Top(), 0);
    EXPECT_FALSE(viewer->Image_Source->Stretch());
    EXPECT_FALSE(viewer->Image_Order->Visible());
    EXPECT_EQ(viewer->ClassName(), "TFrm_ImageEdit");
}

TEST_F(ImageEditTest, ZoomingInGrowsByATenthOfTheOriginal) {
    Press(viewer->ToolButton5);
    EXPECT_FLOAT_EQ(viewer->ZoomFactor(), 1.1f);
    EXPECT_TRUE(viewer->Image_Order->Visible());
    EXPECT_FALSE(viewer->Image_Source->Visible());
    EXPECT_EQ(viewer->Image_Order->Width(), 704);
    EXPECT_EQ(viewer->Image_Order->Picture().Graphic()->Width(), 704);
}

TEST_F(ImageEditTest, TenStepsOutEmptyTheViewAndOneInShowsATenth) {
    Press(viewer->ToolButton2, 9);
    EXPECT_EQ(viewer->Image_Order->Width(), 64);
    Press(viewer->ToolButton2);
    EXPECT_EQ(viewer->ZoomFactor(), 0.0f);
    EXPECT_EQ(viewer->Image_Order->Width(), 0);
    EXPECT_TRUE(viewer->Image_Order->Picture().Empty());
    Press(viewer->ToolButton5);
    EXPECT_EQ(viewer->Image_Order->Width(), 64);
    Press(viewer->ToolButton3);
    EXPECT_EQ(viewer->ZoomFactor(), 1.0f);
    EXPECT_TRUE(viewer->Image_Source->Visible());
    EXPECT_FALSE(viewer->Image_Order->Visible());
    EXPECT_TRUE(viewer->Image_Order->Picture().Empty());
}

TEST_F(ImageEditTest, ZoomContinuesFromTheReducedFactor) {
    Press(viewer->ToolButton2, 2);
    Press(viewer->ToolButton5);
    EXPECT_NEAR(viewer->ZoomFactor(), 0.9f, 1e-6);
    EXPECT_EQ(viewer->Image_Order->Width(), 576);
}

TEST_F(ImageEditTest, EscapeClosesAndOtherKeysDoNothing) {
    int closes = 0;
    viewer->OnClose = [&](TObject*, TCloseAction& action) {
        ++closes;
        action = TCloseAction::caNone;
    };
    WORD key = 'A';
    viewer->OnKeyDown(viewer.get(), key);
    EXPECT_EQ(closes, 0);
    key = VK_ESCAPE;
    viewer->OnKeyDown(viewer.get(), key);
    EXPECT_EQ(closes, 1);
}
