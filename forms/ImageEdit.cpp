#include "forms/ImageEdit.h"

#include "framework/Jpeg.h"

#include <cmath>
#include <memory>

namespace {

TToolButton* MakeToolButton(TComponent* owner, const char* name, const char* caption, const char* hint, int icon) {
    auto button = new TToolButton(owner);
    button->SetName(name);
    button->SetCaption(caption);
    button->SetHint(hint);
    button->SetImageIndex(icon);
    return button;
}

// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

TFrm_ImageEdit::TFrm_ImageEdit(TComponent* owner) : TForm(owner) {
    BuildControls();
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnKeyDown = [this](TObject* sender, WORD& key) { FormKeyDown(sender, key); };
    ToolButton5->OnClick = [this](TObject* sender) { ToolButton5Click(sender); };
    ToolButton2->OnClick = [this](TObject* sender) { ToolButton2Click(sender); };
    ToolButton3->OnClick = [this](TObject* sender) { ToolButton3Click(sender); };
    ToolButton20->OnClick = [this](TObject* sender) { ToolButton20Click(sender); };
    DoCreate();
}

void TFrm_ImageEdit::BuildControls() {
    SetName("Frm_ImageEdit");
    SetCaption("图片编辑");
    SetBorderStyle(TFormBorderStyle::bsSizeable);
    SetBorderIcons(biSystemMenu | biMaximize);
    SetPosition(TPosition::poScreenCenter);
    SetWindowState(TWindowState::wsMaximized);
    SetKeyPreview(true);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-11);
    SetBounds(0, 0, 664, 480);

    ImageList2 = new TImageList(this, 16, 16);
    ImageList2->SetName("ImageList2");
    AddViewerIcons(*ImageList2);

    ToolBar1 = new TToolBar(this);
    ToolBar1->SetName("ToolBar1");
    ToolBar1->SetImages(ImageList2);
    ToolBar1->SetButtonSize(37, 36);
    ToolBar1->SetBounds(0, 0, Width(), 38);
    ToolBar1->SetParent(this);
    ToolBar1->SetAlign(TAlign::alTop);
    ToolButton5 = MakeToolButton(this, "ToolButton5", "放  大", "放大", 10);
    ToolButton2 = MakeToolButton(this, "ToolButton2", "缩  小", "缩小", 12);
    ToolButton3 = MakeToolButton(this, "ToolButton3", "等  大", "实际大小", 13);
    ToolButton19 = MakeToolButton(this, "ToolButton19", "", "", -1);
    ToolButton19->SetStyle(TToolButtonStyle::tbsSeparator);
    ToolButton20 = MakeToolButton(this, "ToolButton20", "退  出", "退出图片浏览", 2);
    for (TToolButton* b : {ToolButton5, ToolButton2, ToolButton3, ToolButton19, ToolButton20})
        ToolBar1->AddButton(b, 8);

    Panel5 = new TPanel(this);
    Panel5->SetName("Panel5");
    Panel5->SetBevels(TPanelBevel::bvNone, TPanelBevel::bvNone);
    Panel5->SetParent(this);
    Panel5->SetAlign(TAlign::alClient);

    ScrollBox1 = new TScrollBox(this);
    ScrollBox1->SetName("ScrollBox1");
    ScrollBox1->SetColor(colors::clGray);
    ScrollBox1->SetHint("图片浏览");
    ScrollBox1->SetParent(Panel5);
    ScrollBox1->SetAlign(TAlign::alClient);

    Image_Source = new TImage(this);
    Image_Source->SetName("Image_Source");
    Image_Source->SetParent(ScrollBox1);
    Image_Order = new TImage(this);
    Image_Order->SetName("Image_Order");
    Image_Order->SetVisible(false);
    Image_Order->SetParent(ScrollBox1);
}

void TFrm_ImageEdit::FormCreate(TObject*) {
    zoomFactor_ = 1.0f;
    Image_Source->SetBounds(0, 0, Image_Source->Width(), Image_Source->Height());
    Image_Order->SetBounds(0, 0, Image_Order->Width(), Image_Order->Height());
}

void TFrm_ImageEdit::LoadJpgFile(const std::string& path) {
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->LoadFromFile(path);
    Image_Source->SetStretch(false);
    Image_Source->SetBounds(Image_Source->Left(), Image_Source->Top(), jpeg->Width(), jpeg->Height());
    Image_Source->Picture().SetGraphic(std::move(jpeg));
    Image_Source->BringToFront();
    Image_Source->SetVisible(true);
}

void TFrm_ImageEdit::ZoomImage(float factor) {
    const int width = RoundHalfEven(Image_Source->Width() * static_cast<double>(factor));
    const int height = RoundHalfEven(Image_Source->Height() * static_cast<double>(factor));
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    if (!bitmap->Empty()) {
        MemoryDC dc(nullptr);
        SelectObjectScope select(dc.Get(), bitmap->Handle());
        const RECT target{0, 0, width, height};
        if (const TGraphic* source = Image_Source->Picture().Graphic()) source->Draw(dc.Get(), target);
        bitmap->Modified();
    }
    Image_Order->SetParent(ScrollBox1);
    Image_Order->SetBounds(Image_Order->Left(), Image_Order->Top(), width, height);
    Image_Order->BringToFront();
    Image_Order->SetVisible(true);
    Image_Source->SetVisible(false);
    Image_Order->Picture().SetGraphic(std::move(bitmap));
}

void TFrm_ImageEdit::ToolButton5Click(TObject*) {
    try {
        if (Image_Source->Picture().Empty()) return;
        zoomFactor_ = static_cast<float>(static_cast<double>(zoomFactor_) + 0.1);
        ZoomImage(zoomFactor_);
    } catch (...) {
        // A zoom that cannot be drawn leaves the picture shown before it.
    }
}

void TFrm_ImageEdit::ToolButton2Click(TObject*) {
    try {
        if (Image_Source->Picture().Empty()) return;
        zoomFactor_ = static_cast<float>(static_cast<double>(zoomFactor_) - 0.1);
        if (zoomFactor_ < 0) zoomFactor_ = 0;
        ZoomImage(zoomFactor_);
    } catch (...) {
    }
}

void TFrm_ImageEdit::ToolButton3Click(TObject*) {
    try {
        zoomFactor_ = 1.0f;
        Image_Order->SetVisible(false);
        Image_Order->Picture().Clear();
        Image_Source->BringToFront();
        Image_Source->SetVisible(true);
    } catch (...) {
    }
}

void TFrm_ImageEdit::ToolButton20Click(TObject*) { Close(); }

void TFrm_ImageEdit::FormKeyDown(TObject*, WORD& key) {
    if (key == VK_ESCAPE) Close();
}
