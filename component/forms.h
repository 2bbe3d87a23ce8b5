// Forms, the screen and the application: top-level windows of our own class,
// the list of forms, the message loop, the error box and message boxes.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "component/controls.h"
#include "component/dpi.h"
#include "component/extctrls.h"
#include "component/stdctrls.h"

class TMainMenu;

enum TBorderIcon : std::uint32_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TPosition {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
    poMainFormCenter, poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

// A top-level window; its window class is its class name ("TForm1").
class TCustomForm : public TWinControl {
    SRT_DECLARE_CLASS()
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; }
    std::uint32_t BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(std::uint32_t v) { borderIcons_ = v; }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition v) { position_ = v; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle v) { formStyle_ = v; }
    // The client area's size; the window grows around it.
    std::int32_t ClientWidth() const;
    std::int32_t ClientHeight() const;
    void SetClientWidth(std::int32_t v);
    void SetClientHeight(std::int32_t v);
    bool StoresSize() const override { return clientWidth_ <= 0 && clientHeight_ <= 0; }
    TWinControl* ActiveControl() const { return activeControl_; }
    // The menu bar; the form does not own it.
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);
    void SetActiveControl(TWinControl* control);

    void Show();
    void Hide() { SetVisible(false); }
    void Close();
    bool Active() const;
    // Frees the form once the current message has been handled.
    void Release();

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnClose;
    TNotifyEvent OnDestroy;
    // A file dropped on the form (only while DragAccept is on).
    std::function<void(const std::wstring& path)> OnDropFile;
    void SetDragAccept(bool on);

    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Whether the layout (designed at 96 DPI) follows the window's DPI: once
    // before the window is first shown, and again on WM_DPICHANGED.
    bool Scaled() const { return scaled_; }
    void SetScaled(bool v) { scaled_ = v; }
    // The DPI the layout is at now.
    int PixelsPerInch() const { return pixelsPerInch_; }
    // The client size scales; the window keeps its place.
    void ChangeScale(int to, int from) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void InitWnd() override;
    void WndProc(TMessage& message) override;
    void VisibleChanged() override;
    void ChildFocused(TWinControl* control) override;
    bool RequestFocus(TWinControl* control) override;
    void ChildRemoved(TControl* control) override;
    virtual void DoShow() { OnShow(this); }

private:
    void Centre();
    void OnPaint(TMessage& m);
    void OnEraseBackground(TMessage& m);
    void OnActivate(TMessage& m);
    void OnDropFiles(TMessage& m);
    void OnDpiChanged(TMessage& m);
    // The layout at `dpi`; the window, if made, takes `bounds` (screen
    // coordinates) or else grows around the scaled client size.
    void ScaleTo(int dpi, const RECT* bounds);
    bool OnMenuMessage(TMessage& m);
    void FocusActive();

    TBorderStyle borderStyle_ = bsSizeable;
    std::uint32_t borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    std::int32_t clientWidth_ = 0, clientHeight_ = 0;
    TWinControl* activeControl_ = nullptr;
    TMainMenu* menu_ = nullptr;
    bool dragAccept_ = false;
    bool shown_ = false;
    bool scaled_ = true;
    int pixelsPerInch_ = srt::kDesignDpi;
};

class TForm : public TCustomForm {
    SRT_DECLARE_CLASS()
public:
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

class TOpenDialog;
class TSaveDialog;

// Where the user is asked things: file dialogs and message boxes. The
// application uses the platform's own unless a test puts another in place.
class TPrompts {
public:
    virtual ~TPrompts() = default;
    virtual bool ExecuteOpen(TOpenDialog& dialog);
    virtual bool ExecuteSave(TSaveDialog& dialog);
    // A modal box with an OK button and no icon.
    virtual void Message(const std::string& caption, const std::string& text);
    // A modal box with an error icon and an OK button.
    virtual void Error(const std::string& caption, const std::string& text);
};

// The forms in creation order, the menu font.
class TScreen : public TComponent {
    SRT_DECLARE_CLASS()
public:
    explicit TScreen(TComponent* owner);
    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const { return forms_.at(index); }
    TCustomForm* ActiveForm() const;
    TFont* MenuFont() { return &menuFont_; }
    int Width() const { return GetSystemMetrics(SM_CXSCREEN); }
    int Height() const { return GetSystemMetrics(SM_CYSCREEN); }

private:
    friend class TCustomForm;
    std::vector<TCustomForm*> forms_;
    TFont menuFont_;
};

// The application: its hidden window (class "TApplication"), the main form,
// the message loop, the title, the error box.
class TApplication : public TComponent {
    SRT_DECLARE_CLASS()
public:
    explicit TApplication(TComponent* owner = nullptr);
    ~TApplication() override;

    void Initialize();
    HWND Handle() const { return handle_; }
    std::string Title() const { return title_; }
    void SetTitle(const std::string& v);
    TCustomForm* MainForm() const { return mainForm_; }
    // Creates a form owned by the application; the first becomes the main form.
    template <class F>
    F* CreateForm() {
        auto* f = new F(this);
        if (!mainForm_) mainForm_ = f;
        return f;
    }
    // Shows the main form and handles messages until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles the messages waiting now, then returns.
    void ProcessMessages();

    // The error box: the text, with "." added when its last character sorts
    // after ".", the title as caption, an error icon and OK.
    void ShowException(const std::string& text);
    // A notice: title as caption, the text, OK, no icon.
    void ShowMessage(const std::string& text);

    TPrompts& Prompts() { return prompts_ ? *prompts_ : defaultPrompts_; }
    void SetPrompts(TPrompts* prompts) { prompts_ = prompts; }
    TClassRegistry& Classes() { return classes_; }
    TGraphicFormats& GraphicFormats() { return formats_; }

    static std::string ErrorBoxText(const std::string& text);

private:
    friend class TCustomForm;
    bool HandleMessage(MSG& msg);
    HWND handle_ = nullptr;
    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    bool terminated_ = false;
    TPrompts defaultPrompts_;
    TPrompts* prompts_ = nullptr;
    TClassRegistry classes_;
    TGraphicFormats formats_;
    TScreen* screen_ = nullptr;
    std::vector<TCustomForm*> released_;
};

// The one application and its screen, while it exists.
extern TApplication* Application;
extern TScreen* Screen;

// Reads the stored description in the RCDATA resource named by the form's
// class name ("TFORM1") into the form.
void ReadFormResource(TCustomForm& form, const TClassRegistry& classes);
