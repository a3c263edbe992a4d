#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string_view>
#include <type_traits>

#include "ui/form.h"
#include "ui/main_form.h"
#include "ui/seams.h"
#include "ui/win32/announcer.h"
#include "ui/win32/edit_field.h"
#include "ui/win32/message_box.h"

namespace talmiro::win32 {

// GDI handles that free themselves on every path, a failed construction included.
struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using OwnedFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The single window as a modeless dialog built from the form description, so that the dialog
// manager provides Enter, Tab, Shift+Tab and Space exactly as Windows users know them.
class MainWindow : private OwnerWindow {
  public:
    MainWindow(HINSTANCE instance, Shell& shell);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND handle() const { return dialog_; }
    HWND control(std::string_view name) const;

    // Lets the dialog manager take keyboard messages meant for the window; true if it did.
    bool translate(MSG& message);

  private:
    NativeHandle nativeHandle() const override;
    void createControls();
    void layOut(int dpi);
    void fitPromptIntoText1(int dpi);
    void sizeClientArea(int width, int height);
    bool sizeAtDpi(int dpi, SIZE& size) const;
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id);
    void drawLabel(const DRAWITEMSTRUCT& item);
    const form::Control* formControl(HWND control) const;
    void showDefaultFrameFor(HWND focused);
    LRESULT controlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    Shell& shell_;
    HWND dialog_ = nullptr;
    std::array<HWND, form::controls.size()> controls_{};
    std::array<WNDPROC, form::controls.size()> defaultProcs_{};
    bool text1Pressed_ = false;
    OwnedFont windowFont_;
    OwnedFont titleFont_;
    OwnedFont inputFont_;
    OwnedIcon icon_;
    std::unique_ptr<EditField> text1_;
    std::unique_ptr<EditField> text2_;
    std::unique_ptr<MessageBoxDialog> messages_;
    std::unique_ptr<ScreenReaderAnnouncer> announcer_;
    std::unique_ptr<MainForm> form_;
};

// Dispatches messages until the window is closed; returns the exit code.
int runMessageLoop(MainWindow& window);

}  // namespace talmiro::win32
