#include "ui/win32/main_window.h"

#include <windowsx.h>

#include <stdexcept>
#include <utility>

#include "ui/win32/accessible_object.h"
#include "ui/win32/first_line_paste.h"
#include "ui/win32/icon_resource.h"
#include "ui/win32/system_function.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/wrap.h"

namespace talmiro::win32 {
namespace {

constexpr int firstControlId = 1001;  // clear of IDOK and IDCANCEL

int controlId(std::string_view name) {
    return firstControlId + static_cast<int>(&form::control(name) - form::controls.data());
}

// `smaller` pixels below the font's size at this dpi.
OwnedFont createFont(const form::Font& font, int dpi, int smaller = 0) {
    return OwnedFont(CreateFontW(-MulDiv(font.tenthsOfPoint, dpi, 720) + smaller, 0, 0, 0,
                                 font.weight, FALSE, FALSE, FALSE, static_cast<BYTE>(font.charset),
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, wide(font.face).c_str()));
}

OwnedIcon createIcon() {
    std::vector<std::uint8_t> image = iconImageResource(windowIcon());
    return OwnedIcon(CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                              0x00030000, IndexedIcon::size, IndexedIcon::size,
                                              LR_DEFAULTCOLOR));
}

int textWidth(HWND window, HFONT font, std::u16string_view text) {
    HDC dc = GetDC(window);
    const HGDIOBJ previous = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()),
                          static_cast<int>(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return extent.cx;
}

// An empty dialog; its controls come from the form description once it exists.
struct DialogTemplate {
    DLGTEMPLATE header;
    WORD menu;
    WORD windowClass;
    WCHAR title[form::windowTitle.size() + 1];
};

constexpr DWORD windowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// WM_GETDPISCALEDSIZE: Windows 10 1703 and later ask a per-monitor window its size at another dpi
// before they move it there.
constexpr UINT getDpiScaledSizeMessage = 0x02E4;

// What the system's own helpers that came after Windows 7 do, where they exist.
template <typename Function>
Function user32Function(const char* name) {
    return functionIn<Function>(GetModuleHandleW(L"user32.dll"), name);
}

// The dpi the window is drawn at: its monitor's on Windows 10 1607 and later, else the system's.
int windowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (const UINT dpi = getDpiForWindow ? getDpiForWindow(window) : 0) {
        return static_cast<int>(dpi);
    }
    HDC screen = GetDC(window);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(window, screen);
    return dpi;
}

// High Contrast is chosen by pupils who need every text in its colours, the notice's red too.
bool highContrastIsOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The work area of the monitor the user launched Talmiro from: the one under the pointer.
RECT launchWorkArea() {
    POINT pointer{};
    GetCursorPos(&pointer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcWork;
}

// The window and its controls follow a change of dpi here, from their twips, as they would be
// laid out at start; the dialog manager of Windows 10 1703 and later would scale them as well.
void leaveDpiChangesToTheWindow(HWND dialog,
                                const std::array<HWND, form::controls.size()>& controls) {
    using DialogFunction =
        BOOL(WINAPI*)(HWND, DIALOG_DPI_CHANGE_BEHAVIORS, DIALOG_DPI_CHANGE_BEHAVIORS);
    using ControlFunction = BOOL(WINAPI*)(HWND, DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS,
                                          DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS);
    if (const auto forDialog = user32Function<DialogFunction>("SetDialogDpiChangeBehavior")) {
        forDialog(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    }
    if (const auto forControl =
            user32Function<ControlFunction>("SetDialogControlDpiChangeBehavior")) {
        const auto all = static_cast<DIALOG_CONTROL_DPI_CHANGE_BEHAVIORS>(DCDC_DISABLE_FONT_UPDATE |
                                                                          DCDC_DISABLE_RELAYOUT);
        for (HWND control : controls) {
            forControl(control, all, all);
        }
    }
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, Shell& shell) : shell_(shell) {
    DialogTemplate dialogTemplate{};
    dialogTemplate.header.style = windowStyle;
    form::windowTitle.copy(reinterpret_cast<char16_t*>(dialogTemplate.title),
                           form::windowTitle.size());
    dialog_ = CreateDialogIndirectParamW(instance, &dialogTemplate.header, nullptr, dialogProc,
                                         reinterpret_cast<LPARAM>(this));
    if (dialog_ == nullptr || !IsWindow(dialog_)) {
        throw std::runtime_error("无法创建主窗口");
    }
}

MainWindow::~MainWindow() {
    if (IsWindow(dialog_)) {
        DestroyWindow(dialog_);
    }
}

HWND MainWindow::control(std::string_view name) const {
    return controls_[static_cast<std::size_t>(controlId(name) - firstControlId)];
}

bool MainWindow::translate(MSG& message) {
    // Arrow keys on a button step along the tab order; the dialog manager would walk every
    // control, labels included.
    const form::Control* target = formControl(message.hwnd);
    const bool isArrow = message.wParam == VK_LEFT || message.wParam == VK_UP ||
                         message.wParam == VK_RIGHT || message.wParam == VK_DOWN;
    if (message.message == WM_KEYDOWN && isArrow && target != nullptr &&
        target->kind == form::Kind::Button) {
        const bool back = message.wParam == VK_LEFT || message.wParam == VK_UP;
        SendMessageW(dialog_, WM_NEXTDLGCTL,
                     reinterpret_cast<WPARAM>(GetNextDlgTabItem(dialog_, message.hwnd, back)),
                     TRUE);
        return true;
    }
    return IsDialogMessageW(dialog_, &message) != 0;
}

NativeHandle MainWindow::nativeHandle() const {
    if (!IsWindow(dialog_)) {
        throw std::runtime_error("无法取得主窗口的句柄");
    }
    return reinterpret_cast<NativeHandle>(dialog_);
}

void MainWindow::createControls() {
    icon_ = createIcon();
    SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(dialog_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));

    // Created in tab order, which is the order the dialog manager walks; placed by layOut.
    for (std::size_t i = 0; i < form::controls.size(); ++i) {
        const form::Control& control = form::controls[i];
        const wchar_t* windowClass = L"STATIC";
        DWORD style = WS_CHILD | WS_VISIBLE;
        DWORD extendedStyle = 0;
        switch (control.kind) {
            case form::Kind::Label:
                // Drawn by drawLabel, so that lines break the same on every Windows and Wine.
                style |= SS_OWNERDRAW | SS_NOPREFIX;
                break;
            case form::Kind::TextBox:
                windowClass = L"EDIT";
                style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
                extendedStyle = WS_EX_CLIENTEDGE;
                break;
            case form::Kind::Button:
                windowClass = L"BUTTON";
                style |= WS_TABSTOP | (control.isDefaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
                break;
        }
        HWND hwnd = CreateWindowExW(
            extendedStyle, windowClass, wide(control.text).c_str(), style, 0, 0, 0, 0, dialog_,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(firstControlId + i)), nullptr, nullptr);
        if (hwnd == nullptr) {
            throw std::runtime_error("无法创建主窗口的控件");
        }
        if (control.kind == form::Kind::TextBox) {
            SendMessageW(hwnd, EM_SETLIMITTEXT, form::textBoxLimit, 0);
        }
        controls_[i] = hwnd;
        if (control.kind != form::Kind::Label) {
            defaultProcs_[i] = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(controlProc)));
        }
    }
    leaveDpiChangesToTheWindow(dialog_, controls_);
    // On the launch monitor before it is laid out, so that it is laid out at that monitor's dpi.
    const RECT workArea = launchWorkArea();
    SetWindowPos(dialog_, nullptr, workArea.left, workArea.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    layOut(windowDpi(dialog_));
    RECT frame{};
    GetWindowRect(dialog_, &frame);
    SetWindowPos(dialog_, nullptr,
                 workArea.left + (workArea.right - workArea.left - (frame.right - frame.left)) / 2,
                 workArea.top + (workArea.bottom - workArea.top - (frame.bottom - frame.top)) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(dialog_, DM_SETDEFID, controlId(form::defaultButton().name), 0);

    text1_ = std::make_unique<EditField>(control("Text1"));
    text2_ = std::make_unique<EditField>(control("Text2"));
    messages_ = std::make_unique<MessageBoxDialog>(dialog_);
    announcer_ = std::make_unique<ScreenReaderAnnouncer>(dialog_);
    form_ = std::make_unique<MainForm>(*text1_, *text2_, static_cast<OwnerWindow&>(*this),
                                       *messages_, shell_, *announcer_);
}

// Fonts, places and the client area from the form's points and twips at `dpi`, the same at start
// and after any change of dpi. The old fonts are freed only once no control uses them.
void MainWindow::layOut(int dpi) {
    const auto pixels = [dpi](int twips) { return form::twipsToPixels(twips, dpi); };
    OwnedFont oldWindowFont = std::exchange(windowFont_, createFont(form::windowFont, dpi));
    OwnedFont oldTitleFont = std::exchange(titleFont_, createFont(form::titleFont, dpi));
    OwnedFont oldInputFont = std::exchange(inputFont_, createFont(form::inputFont, dpi));
    SendMessageW(dialog_, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont_.get()), FALSE);
    for (std::size_t i = 0; i < form::controls.size(); ++i) {
        const form::Control& control = form::controls[i];
        const HFONT font = control.font == &form::titleFont   ? titleFont_.get()
                           : control.font == &form::inputFont ? inputFont_.get()
                                                              : windowFont_.get();
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowPos(controls_[i], nullptr, pixels(control.place.left), pixels(control.place.top),
                     pixels(control.place.width), pixels(control.place.height),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    fitPromptIntoText1(dpi);
    sizeClientArea(pixels(form::clientWidth), pixels(form::clientHeight));
    RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The window's size at another dpi, asked before Windows moves it there, so that the rectangle it
// then suggests is the one the window takes. False where the system cannot tell the frame's size
// at that dpi; its own scaling then stands, and layOut puts the client area right.
bool MainWindow::sizeAtDpi(int dpi, SIZE& size) const {
    using AdjustFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust = user32Function<AdjustFunction>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, form::twipsToPixels(form::clientWidth, dpi),
               form::twipsToPixels(form::clientHeight, dpi)};
    if (adjust == nullptr ||
        !adjust(&frame, static_cast<DWORD>(GetWindowLongW(dialog_, GWL_STYLE)), FALSE,
                static_cast<DWORD>(GetWindowLongW(dialog_, GWL_EXSTYLE)), static_cast<UINT>(dpi))) {
        return false;
    }
    size = {frame.right - frame.left, frame.bottom - frame.top};
    return true;
}

// Measured against the frame the window has, which is exact whoever scaled the frame.
void MainWindow::sizeClientArea(int width, int height) {
    RECT frame{};
    RECT client{};
    GetWindowRect(dialog_, &frame);
    GetClientRect(dialog_, &client);
    SetWindowPos(dialog_, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                 frame.bottom - frame.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The prompt shows whole at start. Where the scaled font leaves it a little too wide, Text1's
// inner margins go first, then its font steps down a pixel at a time, three at most. A new font
// puts the box's default margins back, so they are taken away again after each step.
void MainWindow::fitPromptIntoText1(int dpi) {
    HWND text1 = control("Text1");
    RECT inside{};
    GetClientRect(text1, &inside);
    const auto fits = [&] {
        const LRESULT margins = SendMessageW(text1, EM_GETMARGINS, 0, 0);
        return textWidth(text1, inputFont_.get(), form::inputPrompt) + LOWORD(margins) +
                   HIWORD(margins) <=
               inside.right;
    };
    const auto dropMargins = [text1] {
        SendMessageW(text1, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    };
    if (fits()) {
        return;
    }
    dropMargins();
    for (int smaller = 1; smaller <= 3 && !fits(); ++smaller) {
        OwnedFont previous = std::exchange(inputFont_, createFont(form::inputFont, dpi, smaller));
        SendMessageW(text1, WM_SETFONT, reinterpret_cast<WPARAM>(inputFont_.get()), FALSE);
        dropMargins();
    }
}

// No exception may unwind through the system's window code: every procedure stops it here. A
// failure while the window is being built destroys it, and the constructor reports that.
INT_PTR CALLBACK MainWindow::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            auto* self = reinterpret_cast<MainWindow*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            self->dialog_ = dialog;
            self->createControls();
            // Focus the input with the prompt selected, so typing replaces it; the caret goes
            // to the start so the box shows the prompt from its first character.
            HWND text1 = self->control("Text1");
            SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(text1), TRUE);
            SendMessageW(text1, EM_SETSEL, form::inputPrompt.size(), 0);
            SendMessageW(text1, EM_SCROLLCARET, 0, 0);
            return FALSE;
        }
        auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
        return self == nullptr ? FALSE : self->handleMessage(message, wParam, lParam);
    } catch (...) {
        if (message == WM_INITDIALOG) {
            DestroyWindow(dialog);
        }
        return FALSE;
    }
}

INT_PTR MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                command(LOWORD(wParam));
            }
            return TRUE;
        case WM_DRAWITEM:
            drawLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CLOSE:
            DestroyWindow(dialog_);
            PostQuitMessage(0);
            return TRUE;
        // The controls learn of new colours only from their window.
        case WM_SYSCOLORCHANGE:
            for (HWND control : controls_) {
                SendMessageW(control, message, wParam, lParam);
            }
            RedrawWindow(dialog_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            return FALSE;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST) {
                RedrawWindow(dialog_, nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            }
            return FALSE;
        case getDpiScaledSizeMessage:
            SetWindowLongPtrW(
                dialog_, DWLP_MSGRESULT,
                sizeAtDpi(static_cast<int>(wParam), *reinterpret_cast<SIZE*>(lParam)));
            return TRUE;
        case WM_DPICHANGED: {
            const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(dialog_, nullptr, suggested.left, suggested.top,
                         suggested.right - suggested.left, suggested.bottom - suggested.top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            layOut(HIWORD(wParam));
            return TRUE;
        }
        default:
            return FALSE;
    }
}

void MainWindow::drawLabel(const DRAWITEMSTRUCT& item) {
    const form::Control& label =
        form::controls.at(static_cast<std::size_t>(item.CtlID) - firstControlId);
    const bool onWindowBackground = label.colouring == form::Colouring::WindowBackground;
    FillRect(item.hDC, &item.rcItem,
             GetSysColorBrush(onWindowBackground ? COLOR_WINDOW : COLOR_BTNFACE));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC,
                 label.colouring == form::Colouring::RedText && !highContrastIsOn()
                     ? RGB(form::noticeRed.red, form::noticeRed.green, form::noticeRed.blue)
                     : GetSysColor(onWindowBackground ? COLOR_WINDOWTEXT : COLOR_BTNTEXT));
    const HGDIOBJ previous = SelectObject(
        item.hDC, reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(item.hDC, &metrics);
    const auto measure = [&item](std::u16string_view piece) {
        SIZE extent{};
        GetTextExtentPoint32W(item.hDC, reinterpret_cast<const wchar_t*>(piece.data()),
                              static_cast<int>(piece.size()), &extent);
        return static_cast<int>(extent.cx);
    };
    int top = item.rcItem.top;
    for (std::u16string_view line :
         wrapLines(label.text, item.rcItem.right - item.rcItem.left, measure)) {
        TextOutW(item.hDC, item.rcItem.left, top, reinterpret_cast<const wchar_t*>(line.data()),
                 static_cast<int>(line.size()));
        top += metrics.tmHeight;
    }
    SelectObject(item.hDC, previous);
}

void MainWindow::command(int id) {
    // IDCANCEL from Escape lands here too and is ignored: the window has no cancel button.
    const auto index = static_cast<std::size_t>(id - firstControlId);
    if (index < form::controls.size()) {
        if (const MainForm::Handler handler = MainForm::buttonHandler(form::controls[index].name)) {
            form_->dispatch(handler);
        }
    }
}

const form::Control* MainWindow::formControl(HWND control) const {
    const auto index = static_cast<std::size_t>(GetDlgCtrlID(control) - firstControlId);
    return index < form::controls.size() && controls_[index] == control ? &form::controls[index]
                                                                        : nullptr;
}

// Enter presses the button that shows the default frame. The dialog manager moves the frame
// only when the focus moves by keyboard, so it follows every focus change here: onto the
// focused button, or back to Command1 when a text box has the focus.
void MainWindow::showDefaultFrameFor(HWND focused) {
    const form::Control* focusedControl = formControl(focused);
    const bool onButton = focusedControl != nullptr && focusedControl->kind == form::Kind::Button;
    for (std::size_t i = 0; i < form::controls.size(); ++i) {
        if (form::controls[i].kind == form::Kind::Button) {
            const bool isDefault =
                onButton ? controls_[i] == focused : form::controls[i].isDefaultButton;
            SendMessageW(controls_[i], BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON,
                         TRUE);
        }
    }
}

LRESULT MainWindow::controlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    const form::Control& which = *formControl(control);
    const bool isText1 = which.name == "Text1";
    if (message == WM_PASTE) {
        pasteFirstLine(control);
        return 0;
    }
    // The system would name a box after the label created before it, and describes no control:
    // ours answer instead, both the control's own object and the window object that the
    // dialog's children lead to.
    const LONG object = static_cast<LONG>(lParam);
    if (message == WM_GETOBJECT && (object == OBJID_CLIENT || object == OBJID_WINDOW) &&
        (!which.accessibleName.empty() || !which.accessibleDescription.empty())) {
        if (const LRESULT named =
                namedAccessibleObject(control, object, wParam, form::accessibleName(which),
                                      which.accessibleDescription)) {
            return named;
        }
    }
    // A click is a press and a release inside the box; both clicks of a double click count. The
    // release gives up the mouse capture, so whether it ends a press is read before that.
    const bool endsPress =
        isText1 && message == WM_LBUTTONUP && std::exchange(text1Pressed_, false);
    if (isText1 && (message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK)) {
        text1Pressed_ = true;
    }
    // A press whose capture was taken away (Alt+Tab with the button held) ends no click.
    if (isText1 && message == WM_CAPTURECHANGED) {
        text1Pressed_ = false;
    }
    const LRESULT result =
        CallWindowProcW(defaultProcs_[static_cast<std::size_t>(&which - form::controls.data())],
                        control, message, wParam, lParam);
    if (message == WM_SETFOCUS) {
        showDefaultFrameFor(control);
    }
    if (endsPress) {
        RECT inside{};
        GetClientRect(control, &inside);
        if (PtInRect(&inside, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
            form_->dispatch(&MainForm::Text1_Click);
        }
    }
    return result;
}

LRESULT CALLBACK MainWindow::controlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(GetParent(control), DWLP_USER));
    try {
        return self->controlMessage(control, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

int runMessageLoop(MainWindow& window) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!window.translate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace talmiro::win32
