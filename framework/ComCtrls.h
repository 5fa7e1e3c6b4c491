// Common controls: track bars, tool bars with their buttons, image lists.
#pragma once

#include "framework/Controls.h"

#include <commctrl.h>

#include <string>
#include <vector>

// A list of equal-sized images, drawn by index.
class TImageList : public TComponent {
    KV90_CLASS(TImageList, TComponent)
public:
    TImageList(TComponent* owner, int width, int height);
    ~TImageList() override;
    // Adds a 32-bit bitmap whose alpha channel is its mask; returns its index.
    int Add(HBITMAP image);
    int Count() const;
    HIMAGELIST Handle() const { return handle_; }

private:
    HIMAGELIST handle_;
};

class TTrackBar : public TWinControl {
    KV90_CLASS(TTrackBar, TWinControl)
public:
    explicit TTrackBar(TComponent* owner);
    void SetRange(int min, int max);
    int Position() const { return position_; }
    // Moving the thumb in code runs OnChange as well, as the operator moving it does.
    void SetPosition(int position);
    void SetThumbLength(int length);
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    void ApplySettings();
    int min_ = 0, max_ = 10, position_ = 0, thumbLength_ = 20;
};

enum class TToolButtonStyle { tbsButton, tbsSeparator };

// One button of a tool bar; the tool bar draws it and reports its clicks.
class TToolButton : public TControl {
    KV90_CLASS(TToolButton, TControl)
public:
    explicit TToolButton(TComponent* owner);
    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle style) { style_ = style; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index) { imageIndex_ = index; }

private:
    TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
    int imageIndex_ = -1;
};

// A flat tool bar: buttons with captions under their images, hints as tool tips.
class TToolBar : public TWinControl {
    KV90_CLASS(TToolBar, TWinControl)
public:
    explicit TToolBar(TComponent* owner);
    void SetImages(TImageList* images) { images_ = images; }
    void SetButtonSize(int width, int height);
    // Buttons are added in order; call once all of them are made.
    void AddButton(TToolButton* button, int separatorWidth = 8);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    void CreateButtons();
    TImageList* images_ = nullptr;
    int buttonWidth_ = 23, buttonHeight_ = 22;
    struct Entry {
        TToolButton* button;
        int separatorWidth;
    };
    std::vector<Entry> buttons_;
};

// Registers the common control classes once per process.
void InitCommonControlClasses();
