// Forms, the application object, the screen cursor and data modules.
#pragma once

#include "framework/Controls.h"
#include "framework/Exception.h"
#include "framework/SysUtils.h"

#include <type_traits>

#include <functional>
#include <string>
#include <vector>

enum TCursor { crDefault = 0, crHourGlass = -11 };

class TCustomForm;

// The cursor shown over every window of the program while it is not crDefault,
// and the program's forms in the order they were made.
class TScreen {
public:
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    HCURSOR CursorHandle() const;

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(index); }

private:
    friend class TCustomForm;
    TCursor cursor_ = crDefault;
    std::vector<TCustomForm*> forms_;
};

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TWindowState { wsNormal, wsMaximized };

// What a modal form answers when it closes.
enum TModalResult { mrNone = 0, mrOk = IDOK, mrCancel = IDCANCEL };

using TKeyEvent = std::function<void(TObject* sender, WORD& key)>;
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// The title buttons a form offers, as a set of bits.
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum class TPosition { poDesigned, poScreenCenter };

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;

class TCustomForm : public TWinControl {
    KV90_CLASS(TCustomForm, TWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    void SetClientSize(int width, int height);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style) { borderStyle_ = style; }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    void SetWindowState(TWindowState state) { windowState_ = state; }
    TWindowState WindowState() const { return windowState_; }
    // The form's own icon (the system keeps shared icons; the form never frees it); null: none.
    HICON Icon() const { return icon_; }
    void SetIcon(HICON icon) { icon_ = icon; }
    unsigned BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(unsigned icons) { borderIcons_ = icons; }
    // The form sees key presses before the control that has the focus.
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }

    void Show();
    void Hide() { SetVisible(false); }
    // Shows the form with every other window of the program disabled and
    // returns, with its modal result, once it has closed.
    int ShowModal();
    // Asks the close handler what to do, then hides, frees or ends the program.
    void Close();
    // Frees the form once the messages already queued for it have been handled.
    void Release();

    // Moves the focus to the next (or previous) control that Tab stops at,
    // after the given one, going round at the end.
    void SelectNext(TWinControl* current, bool forward);

    // Runs the creation handler; the application calls it once the form is built.
    void DoCreate();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TCloseEvent OnClose;
    TKeyEvent OnKeyDown;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void VisibleChanged() override;

private:
    void PlaceOnScreen();
    // Activated: the focus goes back to the control that had it, or to the first in Tab order.
    void FocusActiveControl();
    int clientWidth_ = 0, clientHeight_ = 0;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TPosition position_ = TPosition::poDesigned;
    TWindowState windowState_ = TWindowState::wsNormal;
    unsigned borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    HICON icon_ = nullptr;
    bool keyPreview_ = false;
    bool placed_ = false;
    bool modal_ = false;
    // The window of the control that last had the focus, to take it again when the form is
    // activated again; looked up by window, since the control may have gone meanwhile.
    HWND focusedWnd_ = nullptr;
    bool releasing_ = false;  // Release was called: the form's own CM_RELEASE is on its way
    int modalResult_ = mrNone;
};

// A control whose children may reach beyond it: scroll bars bring them into view.
class TScrollBox : public TWinControl {
    KV90_CLASS(TScrollBox, TWinControl)
public:
    explicit TScrollBox(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void ControlChanged(TControl* child) override;
    void BoundsChanged() override;

private:
    void UpdateScrollBars();
    void ScrollTo(int x, int y);
    int scrollX_ = 0, scrollY_ = 0;
    bool updating_ = false;
};

class TForm : public TCustomForm {
    KV90_CLASS(TForm, TCustomForm)
public:
    using TCustomForm::TCustomForm;
};

// A non-visual container of shared state and components.
class TDataModule : public TComponent {
    KV90_CLASS(TDataModule, TComponent)
public:
    using TComponent::TComponent;
    void DoCreate() {
        if (OnCreate) OnCreate(this);
    }
    TNotifyEvent OnCreate;
};

class TApplication : public TComponent {
    KV90_CLASS(TApplication, TComponent)
public:
    TApplication();
    ~TApplication() override;

    // The hidden window that owns the program's forms and its message boxes.
    HWND Handle() const { return handle_; }
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    TCustomForm* MainForm() const { return mainForm_; }
    bool Terminated() const { return terminated_; }

    void Initialize() {}
    // Builds a form or data module owned by the application and runs its
    // creation handler; the first form built becomes the main form.
    template <typename T>
    void CreateForm(T*& reference) {
        reference = new T(this);
        reference->NotifyLoaded();
        if constexpr (std::is_base_of_v<TCustomForm, T>) {
            if (!mainForm_) mainForm_ = reference;
        }
        reference->DoCreate();
    }
    // Shows the main form and handles messages until the program ends.
    void Run();
    void ProcessMessages();
    void Terminate();

    // A modal system message box over the program's active window.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);
    // The default error report: the exception's message under the program's title.
    void HandleException(const std::exception& e);
    // Gives the form under a key press its preview, and dialog navigation; true when handled.
    bool PreprocessMessage(MSG& msg);
    void FormDestroyed(TCustomForm* form);

private:
    bool HandleMessage(MSG& msg);
    HWND handle_ = nullptr;
    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

extern TApplication* Application;
extern TScreen* Screen;

// Posted to a form that asked to be freed.
constexpr UINT CM_RELEASE = WM_APP + 0x3F00;
