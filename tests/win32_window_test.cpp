// The Win32 window under the shared scenarios, run under Wine, and what only the Windows build
// has: the executable's resources.
#include <windows.h>

#include <oleacc.h>
#include <tlhelp32.h>
#include <uiautomationcore.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <utility>

#include "tests/window_driver.h"
#include "ui/icon.h"
#include "ui/version_info.h"
#include "ui/win32/main_window.h"
#include "ui/win32/system_function.h"
#include "ui/win32/win32_text.h"
#include "ui/win32/windows_shell.h"

namespace talmiro::test {
namespace {

// The icon's pixels as the system draws them; a see-through pixel counts as black.
std::vector<form::Rgb> iconPixels(HICON icon) {
    ICONINFO info{};
    GetIconInfo(icon, &info);
    std::vector<form::Rgb> pixels;
    std::vector<RGBQUAD> colour(32 * 32), mask(32 * 32);
    BITMAPINFO format{{sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, 32, colour.data(), &format, DIB_RGB_COLORS);
    GetDIBits(screen, info.hbmMask, 0, 32, mask.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    for (std::size_t i = 0; i < colour.size(); ++i) {
        const RGBQUAD c = mask[i].rgbRed == 0 ? colour[i] : RGBQUAD{};
        pixels.push_back({c.rgbRed, c.rgbGreen, c.rgbBlue});
    }
    return pixels;
}

// A text property of an accessible object, as a screen reader reads it; empty where it has none.
std::u16string readText(IAccessible* object, VARIANT child,
                        HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*)) {
    BSTR text = nullptr;
    (object->*property)(child, &text);
    const std::u16string read(reinterpret_cast<const char16_t*>(text), SysStringLen(text));
    SysFreeString(text);
    return read;
}

// CHILDID_SELF: the object itself, not one of its children.
const VARIANT childSelf = [] {
    VARIANT self{};
    self.vt = VT_I4;
    return self;
}();

// A window's client object, as the system's accessibility layer hands it to a screen reader;
// nullptr where there is none.
IAccessible* clientObject(HWND window) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* object = nullptr;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                               reinterpret_cast<void**>(&object));
    return object;
}

class Win32Driver : public WindowDriver {
  public:
    Win32Driver() {
        ShowWindow(window.handle(), SW_SHOWNORMAL);
        SetForegroundWindow(window.handle());
        pump();
        alerts_ = SetWinEventHook(EVENT_SYSTEM_ALERT, EVENT_SYSTEM_ALERT, nullptr, noteAlert,
                                  GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    }
    ~Win32Driver() override { UnhookWinEvent(alerts_); }
    Win32Driver(const Win32Driver&) = delete;
    Win32Driver& operator=(const Win32Driver&) = delete;

    void type(std::u16string_view text) override {
        for (char16_t unit : text) {
            send({key(0, KEYEVENTF_UNICODE, unit),
                  key(0, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP, unit)});
        }
    }
    void paste(std::u16string_view text) override {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
        auto* units = static_cast<char16_t*>(GlobalLock(memory));
        units[text.copy(units, text.size())] = u'\0';
        GlobalUnlock(memory);
        OpenClipboard(window.handle());
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
        press({Key::Paste});
    }
    void press(const std::vector<Key>& keys) override {
        static constexpr WORD codes[] = {VK_RETURN, VK_SPACE, VK_TAB,  VK_TAB, VK_ESCAPE, VK_LEFT,
                                         VK_RIGHT,  VK_UP,    VK_DOWN, 'V',    'Z'};
        for (Key pressed : keys) {
            const WORD code = codes[static_cast<int>(pressed)];
            const WORD held = pressed == Key::ShiftTab                        ? VK_SHIFT
                              : pressed == Key::Paste || pressed == Key::Undo ? VK_CONTROL
                                                                              : 0;
            if (held != 0) {
                send(
                    {key(held), key(code), key(code, KEYEVENTF_KEYUP), key(held, KEYEVENTF_KEYUP)});
            } else {
                send({key(code), key(code, KEYEVENTF_KEYUP)});
            }
        }
    }
    void click(std::string_view control) override {
        moveTo(control);
        send({mouse(MOUSEEVENTF_LEFTDOWN), mouse(MOUSEEVENTF_LEFTUP)});
    }
    void doubleClick(std::string_view control) override {
        moveTo(control);
        send({mouse(MOUSEEVENTF_LEFTDOWN), mouse(MOUSEEVENTF_LEFTUP), mouse(MOUSEEVENTF_LEFTDOWN),
              mouse(MOUSEEVENTF_LEFTUP)});
    }
    void drag(std::string_view from, std::string_view to) override {
        mouseAt(from, MOUSEEVENTF_LEFTDOWN);
        mouseAt(to, MOUSEEVENTF_LEFTUP);
    }
    void mouseAt(std::string_view control, DWORD button) {
        moveTo(control);
        send({mouse(button)});
    }
    void setText(std::string_view textBox, std::u16string_view text) override {
        SetWindowTextW(hwnd(textBox), std::wstring(text.begin(), text.end()).c_str());
    }
    std::u16string text(std::string_view control) override {
        return win32::windowText(hwnd(control));
    }
    std::string focus() override {
        for (const form::Control& control : form::controls) {
            if (window.control(control.name) == GetFocus()) {
                return std::string(control.name);
            }
        }
        return "";
    }
    Rect place(std::string_view control) override {
        RECT r{};
        GetWindowRect(hwnd(control), &r);
        MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&r), 2);
        if (control == form::windowName) {
            GetClientRect(window.handle(), &r);
        }
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    Font font(std::string_view control) override {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd(control), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        // A face asked for without the Chinese character set does not count as that face.
        const std::wstring face = font.lfCharSet == GB2312_CHARSET ? font.lfFaceName : L"?";
        return {{face.begin(), face.end()}, -font.lfHeight};
    }
    int dpi() override {
        HDC screen = GetDC(nullptr);
        const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        return dotsPerInch;
    }
    bool showsWholeText(std::string_view textBox) override {
        HWND box = hwnd(textBox);
        RECT inside{};
        GetClientRect(box, &inside);
        const LRESULT margins = SendMessageW(box, EM_GETMARGINS, 0, 0);
        const std::u16string shown = win32::windowText(box);
        HDC dc = GetDC(box);
        const HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
        SIZE extent{};
        GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(shown.c_str()),
                              static_cast<int>(shown.size()), &extent);
        SelectObject(dc, previous);
        ReleaseDC(box, dc);
        return extent.cx + LOWORD(margins) + HIWORD(margins) <= inside.right;
    }
    std::vector<form::Rgb> icon() override {
        return iconPixels(
            reinterpret_cast<HICON>(SendMessageW(window.handle(), WM_GETICON, ICON_BIG, 0)));
    }
    // In-process, as the system's accessibility layer hands the object to a screen reader.
    Accessible accessible(std::string_view control) override {
        IAccessible* seen = clientObject(hwnd(control));
        if (seen == nullptr) {
            return {u"?", u"?", u"?", 0};
        }
        VARIANT role{};
        seen->get_accRole(childSelf, &role);
        Accessible result{readText(seen, childSelf, &IAccessible::get_accName),
                          readText(seen, childSelf, &IAccessible::get_accDescription),
                          readText(seen, childSelf, &IAccessible::get_accValue),
                          static_cast<int>(role.lVal)};
        seen->Release();
        return result;
    }
    bool underWine() override {
        return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    }
    // Wine raises no UI Automation notification, so the window speaks through its alert. The
    // hook hears the whole program, earlier windows included: only this window's alerts count.
    std::optional<std::vector<std::u16string>> announced() override {
        pump();
        std::vector<std::u16string> ours;
        for (const auto& [source, text] : std::exchange(alertsHeard(), {})) {
            if (GetParent(source) == window.handle()) {
                ours.push_back(text);
            }
        }
        return ours;
    }
    NativeHandle handle() override { return reinterpret_cast<NativeHandle>(window.handle()); }
    bool takesInput() override { return IsWindowEnabled(window.handle()) != 0; }

    std::vector<SeenBox> boxesDuring(const std::function<void()>& action,
                                     const std::function<void()>& whileOpen) override {
        active = this;
        seen.clear();
        onOpen = whileOpen;
        HHOOK hook = SetWindowsHookExW(WH_CBT, noteBox, nullptr, GetCurrentThreadId());
        action();
        UnhookWindowsHookEx(hook);
        return seen;
    }

    void close() override {
        SendMessageW(window.handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        pump();
    }
    bool ended() override { return quit && !IsWindow(window.handle()); }

    win32::MainWindow window{GetModuleHandleW(nullptr), shell};

  private:
    HWND hwnd(std::string_view control) {
        return control == form::windowName ? window.handle() : window.control(control);
    }
    void pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            quit = quit || message.message == WM_QUIT;
            if (!window.translate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }
    static INPUT key(WORD code, DWORD flags = 0, WCHAR unit = 0) {
        INPUT input{INPUT_KEYBOARD, {}};
        input.ki = {code, unit, flags, 0, 0};
        return input;
    }
    // Time stamps of our own: separate clicks lie further apart than a double click.
    INPUT mouse(DWORD flags) {
        INPUT input{INPUT_MOUSE, {}};
        input.mi = {0, 0, 0, flags, ++clock, 0};
        return input;
    }
    void send(std::vector<INPUT> inputs) {
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        pump();
    }
    void moveTo(std::string_view control) {
        const Rect r = control == face ? Rect{4, 76, 0, 0} : place(control);
        POINT spot{r.left + r.width / 2, r.top + r.height / 2};
        ClientToScreen(window.handle(), &spot);
        clock += GetDoubleClickTime();
        SetCursorPos(spot.x, spot.y);
        send({mouse(MOUSEEVENTF_MOVE)});
    }

    // Notes a message box as it opens; once the box runs its own loop, `onOpen` runs and the
    // box is closed with its first button.
    static LRESULT CALLBACK noteBox(int code, WPARAM wParam, LPARAM lParam) {
        const auto box = reinterpret_cast<HWND>(wParam);
        wchar_t kind[16] = {};
        GetClassNameW(box, kind, 16);
        if (code == HCBT_ACTIVATE && box != active->window.handle() &&
            kind == std::wstring_view(L"#32770")) {
            SeenBox noted{
                win32::windowText(box), win32::windowText(GetDlgItem(box, 0xFFFF)), {}, false};
            for (HWND child = GetWindow(box, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                GetClassNameW(child, kind, 16);
                const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
                if ((style & WS_VISIBLE) != 0 && kind == std::wstring_view(L"Button")) {
                    noted.buttons.push_back(win32::windowText(child));
                }
                noted.hasIcon = noted.hasIcon ||
                                ((style & WS_VISIBLE) != 0 && (style & SS_TYPEMASK) == SS_ICON &&
                                 SendMessageW(child, STM_GETICON, 0, 0) != 0);
            }
            active->seen.push_back(noted);
            active->openBox = box;
            SetTimer(nullptr, 0, 10, whileBoxOpen);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static void CALLBACK whileBoxOpen(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        if (active->onOpen) {
            active->onOpen();
        }
        PostMessageW(active->openBox, WM_COMMAND, IDOK, 0);
    }

    // What an MSAA screen reader speaks of an alert event: the alert object's name.
    static std::vector<std::pair<HWND, std::u16string>>& alertsHeard() {
        static std::vector<std::pair<HWND, std::u16string>> heard;
        return heard;
    }
    static void CALLBACK noteAlert(HWINEVENTHOOK, DWORD, HWND source, LONG object, LONG child,
                                   DWORD, DWORD) {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IAccessible* alert = nullptr;
        VARIANT self{};
        if (FAILED(AccessibleObjectFromEvent(source, object, child, &alert, &self))) {
            alertsHeard().emplace_back(source, u"(no object)");
            return;
        }
        VARIANT role{};
        alert->get_accRole(self, &role);
        alertsHeard().emplace_back(source, role.vt == VT_I4 && role.lVal == ROLE_SYSTEM_ALERT
                                               ? readText(alert, self, &IAccessible::get_accName)
                                               : u"(not an alert)");
        alert->Release();
    }

    static inline Win32Driver* active = nullptr;
    HWINEVENTHOOK alerts_ = nullptr;
    std::vector<SeenBox> seen;
    std::function<void()> onOpen;
    HWND openBox = nullptr;
    bool quit = false;
    DWORD clock = GetTickCount();
};

}  // namespace

std::unique_ptr<WindowDriver> makeDriver() {
    return std::make_unique<Win32Driver>();
}

namespace {

// Two ways the clipboard and the mouse can let the user down, which only this window meets.
TEST(Win32Window, AnUnrenderedPasteOrALostPressLeavesTheInputAlone) {
    Win32Driver window;
    OpenClipboard(window.window.handle());  // the owner renders nothing it is asked for
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, nullptr);
    CloseClipboard();
    window.press({Key::Paste});
    EXPECT_EQ(window.text("Text1"), form::inputPrompt) << "the selected prompt is kept";

    window.mouseAt("Text1", MOUSEEVENTF_LEFTDOWN);
    ReleaseCapture();  // as Alt+Tab with the button held does
    window.mouseAt(face, MOUSEEVENTF_LEFTUP);
    window.drag(face, "Text1");
    EXPECT_EQ(window.text("Text1"), form::inputPrompt)
        << "the lost press made a later drag a click";
}

// A move to a monitor of another dpi and back, as Windows 10 sends it: asked for its size there,
// the window takes the rectangle suggested from that, and looks as if started at that dpi.
TEST(Win32Window, LaysItselfOutAgainOnAMonitorOfAnotherDpi) {
    Win32Driver window;
    const HWND dialog = window.window.handle();
    RECT start{};
    GetWindowRect(dialog, &start);
    const int startDpi = window.dpi();
    for (const int dpi : {startDpi * 3 / 2, startDpi}) {
        SCOPED_TRACE(dpi);
        SIZE size{};
        ASSERT_TRUE(SendMessageW(dialog, 0x02E4 /* WM_GETDPISCALEDSIZE */, static_cast<WPARAM>(dpi),
                                 reinterpret_cast<LPARAM>(&size)));
        RECT suggested{start.left + 40, start.top + 30, start.left + 40 + size.cx,
                       start.top + 30 + size.cy};
        SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT taken{};
        GetWindowRect(dialog, &taken);
        EXPECT_EQ(std::vector<LONG>({taken.left, taken.top}),
                  std::vector<LONG>({suggested.left, suggested.top}));
        expectLaidOutAt(window, dpi);
    }
    RECT end{};
    GetWindowRect(dialog, &end);
    EXPECT_EQ(end.right - end.left, start.right - start.left);
    EXPECT_EQ(end.bottom - end.top, start.bottom - start.top);
}

// Points this exe's import of DLL's FUNCTION, which the window's code calls through, at
// REPLACEMENT; returns what it pointed at before.
template <typename Function>
Function replaceImport(const char* dll, const char* function, Function replacement) {
    auto* base = reinterpret_cast<std::uint8_t*>(GetModuleHandleW(nullptr));
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
             base +
             headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
         entry->Name != 0; ++entry) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), dll) != 0) {
            continue;
        }
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            const auto* named =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                lstrcmpA(reinterpret_cast<const char*>(named->Name), function) != 0) {
                continue;
            }
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE,
                           &protection);
            const auto original = reinterpret_cast<Function>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<decltype(slots->u1.Function)>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return original;
        }
    }
    return nullptr;
}

// The colours of every pixel the label draws.
std::set<COLORREF> inkOf(HWND label) {
    RECT inside{};
    GetClientRect(label, &inside);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP picture = CreateCompatibleBitmap(screen, inside.right, inside.bottom);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ previous = SelectObject(dc, picture);
    SendMessageW(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    std::set<COLORREF> colours;
    for (int y = 0; y < inside.bottom; ++y) {
        for (int x = 0; x < inside.right; ++x) {
            colours.insert(GetPixel(dc, x, y));
        }
    }
    SelectObject(dc, previous);
    DeleteObject(picture);
    DeleteDC(dc);
    return colours;
}

// High Contrast as the window reads it; Wine keeps no such setting.
bool highContrast = false;
decltype(&SystemParametersInfoW) realSystemParametersInfoW = nullptr;
BOOL WINAPI systemParametersWithHighContrast(UINT action, UINT size, void* value, UINT flags) {
    if (action == SPI_GETHIGHCONTRAST) {
        static_cast<HIGHCONTRASTW*>(value)->dwFlags = highContrast ? HCF_HIGHCONTRASTON : 0;
        return TRUE;
    }
    return realSystemParametersInfoW(action, size, value, flags);
}

// High Contrast: the notice's red gives way to the theme's text colour, and the window repaints
// when Windows says the setting changed.
TEST(Win32Window, TheNoticeTakesTheThemesTextColourInHighContrast) {
    Win32Driver window;
    const HWND notice = window.window.control("Label3");
    realSystemParametersInfoW =
        replaceImport("user32.dll", "SystemParametersInfoW", &systemParametersWithHighContrast);
    ASSERT_NE(realSystemParametersInfoW, nullptr);
    const COLORREF red = RGB(form::noticeRed.red, form::noticeRed.green, form::noticeRed.blue);
    EXPECT_TRUE(inkOf(notice).contains(red));
    highContrast = true;
    // Windows sends both as High Contrast is turned on or off.
    for (const auto& [message, which] :
         {std::pair<UINT, WPARAM>{WM_SYSCOLORCHANGE, 0}, {WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST}}) {
        ValidateRect(notice, nullptr);
        SendMessageW(window.window.handle(), message, which, 0);
        EXPECT_TRUE(GetUpdateRect(notice, nullptr, FALSE)) << "not repainted on " << message;
    }
    const std::set<COLORREF> ink = inkOf(notice);
    highContrast = false;
    EXPECT_FALSE(ink.contains(red));
    EXPECT_TRUE(ink.contains(GetSysColor(COLOR_BTNTEXT)));
    EXPECT_TRUE(inkOf(notice).contains(red)) << "red again once High Contrast is off";
    replaceImport("user32.dll", "SystemParametersInfoW", realSystemParametersInfoW);
}

std::vector<std::pair<HWND, std::u16string>> notified;
bool notificationRaised = false;
bool fakeNotification(HWND window, std::u16string_view text) {
    notified.emplace_back(window, text);
    return notificationRaised;
}

// A UI Automation notification, where one is raised, is all that is said; otherwise the alert
// speaks. The system's own notification loads UIAutomationCore only while a screen reader runs.
TEST(Win32Window, AnnouncesByUiAutomationWhereItCanAndOtherwiseByAnAlert) {
    Win32Driver window;
    const HWND dialog = window.window.handle();
    for (const bool raised : {true, false}) {
        notified.clear();
        notificationRaised = raised;
        win32::ScreenReaderAnnouncer announcer(dialog, fakeNotification);
        announcer.announce(u"四氧化三铁");
        EXPECT_EQ(notified, (std::vector{std::pair{dialog, std::u16string(u"四氧化三铁")}}));
        EXPECT_EQ(*window.announced(), raised ? std::vector<std::u16string>{}
                                              : std::vector<std::u16string>{u"四氧化三铁"});
    }

    EXPECT_FALSE(win32::raiseUiaNotification(dialog, u"水"));
    EXPECT_EQ(GetModuleHandleW(L"uiautomationcore.dll"), nullptr);
    SystemParametersInfoW(SPI_SETSCREENREADER, TRUE, nullptr, 0);
    win32::raiseUiaNotification(dialog, u"水");
    SystemParametersInfoW(SPI_SETSCREENREADER, FALSE, nullptr, 0);
    EXPECT_NE(GetModuleHandleW(L"uiautomationcore.dll"), nullptr);
}

// Every path a screen reader takes to a box ends at the box's own object: the window it names,
// one object (COM's identity) behind each of its interfaces, no method writing through a null
// pointer, and the same name when reached from the dialog's children. UI Automation takes it as
// the program's own: it neither passes for oleacc's proxy, which UI Automation would replace with
// its edit-box provider that names a box after the label before it, nor for any other service.
TEST(Win32Window, ScreenReadersReachEachBoxsOwnObjectByEveryPath) {
    Win32Driver window;
    using ProviderFromAccessible =
        HRESULT(WINAPI*)(IAccessible*, long, DWORD, IRawElementProviderSimple**);
    const auto providerFrom = win32::systemFunction<ProviderFromAccessible>(
        L"uiautomationcore.dll", "UiaProviderFromIAccessible");
    ASSERT_NE(providerFrom, nullptr);
    constexpr GUID isOleaccProxy = {
        0x902697fa, 0x80e4, 0x4560, {0x80, 0x2a, 0xa1, 0x3f, 0x22, 0xa6, 0x47, 0x09}};
    constexpr GUID madeUp = {
        0x5a1f0c2e, 0x7d3b, 0x4e6a, {0x9b, 0x21, 0x3c, 0x44, 0x8e, 0x10, 0x6f, 0x52}};
    std::set<std::u16string> names;
    for (std::string_view name : {"Text1", "Text2"}) {
        const HWND box = window.window.control(name);
        IAccessible* object = clientObject(box);
        ASSERT_NE(object, nullptr);
        HWND found = nullptr;
        EXPECT_EQ(WindowFromAccessibleObject(object, &found), S_OK);
        EXPECT_EQ(found, box);
        IUnknown* identity = nullptr;
        IOleWindow* window = nullptr;
        IUnknown* viaWindow = nullptr;
        object->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&identity));
        ASSERT_EQ(object->QueryInterface(__uuidof(IOleWindow), reinterpret_cast<void**>(&window)),
                  S_OK);
        window->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&viaWindow));
        EXPECT_EQ(viaWindow, identity);
        EXPECT_EQ(object->GetTypeInfoCount(nullptr), E_INVALIDARG);
        names.insert(readText(object, childSelf, &IAccessible::get_accName));

        IServiceProvider* services = nullptr;
        ASSERT_EQ(
            object->QueryInterface(__uuidof(IServiceProvider), reinterpret_cast<void**>(&services)),
            S_OK);
        for (const GUID& service : {isOleaccProxy, madeUp}) {
            IUnknown* answer = nullptr;
            EXPECT_TRUE(FAILED(services->QueryService(service, __uuidof(IUnknown),
                                                      reinterpret_cast<void**>(&answer))) &&
                        answer == nullptr);
        }
        services->Release();
        IRawElementProviderSimple* provider = nullptr;
        EXPECT_EQ(providerFrom(object, CHILDID_SELF, 0, &provider), S_OK) << "refused by UIA";
        if (provider != nullptr) {
            // Wine 8's provider has no name yet (VT_EMPTY); any name it gives is the box's own.
            VARIANT said{};
            provider->GetPropertyValue(30005, &said);  // UIA_NamePropertyId
            EXPECT_TRUE(said.vt != VT_BSTR ||
                        readText(object, childSelf, &IAccessible::get_accName) ==
                            reinterpret_cast<const char16_t*>(said.bstrVal));
            VariantClear(&said);
            provider->Release();
        }
        viaWindow->Release();
        window->Release();
        identity->Release();
        object->Release();
    }
    EXPECT_EQ(names, std::set<std::u16string>({u"化学式或名称", u"查询结果"}));

    IAccessible* dialog = clientObject(window.window.handle());
    ASSERT_NE(dialog, nullptr);
    std::vector<VARIANT> children(form::controls.size() + 2);
    LONG got = 0;
    AccessibleChildren(dialog, 0, static_cast<LONG>(children.size()), children.data(), &got);
    std::set<std::u16string> seen;
    for (LONG i = 0; i < got; ++i) {
        IAccessible* child = nullptr;
        if (children[i].vt == VT_DISPATCH &&
            SUCCEEDED(children[i].pdispVal->QueryInterface(__uuidof(IAccessible),
                                                           reinterpret_cast<void**>(&child)))) {
            seen.insert(readText(child, childSelf, &IAccessible::get_accName));
            child->Release();
        }
        VariantClear(&children[i]);
    }
    dialog->Release();
    for (const std::u16string& name : names) {
        EXPECT_TRUE(seen.contains(name)) << "not reached from the dialog";
    }
}

// A value set by a screen reader (dictation, a braille keyboard) keeps to the paste rule, and one
// undo takes it back.
TEST(Win32Window, AValueSetByAScreenReaderIsItsFirstLineAndUndoes) {
    Win32Driver window;
    window.click("Text1");
    window.type(u"NaCl");
    IAccessible* object = clientObject(window.window.control("Text1"));
    ASSERT_NE(object, nullptr);
    BSTR value = SysAllocString(L"KCl\r\nO2");
    EXPECT_EQ(object->put_accValue(childSelf, value), S_OK);
    SysFreeString(value);
    object->Release();
    EXPECT_EQ(window.text("Text1"), u"KCl");
    window.press({Key::Undo});
    EXPECT_EQ(window.text("Text1"), u"NaCl");
}

// The real ShellExecuteA, found by name in shell32.dll and given the verb and the item in
// their places: a batch file opened with "Open" runs and leaves its mark.
void expectTheShellToRunAScript() {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string script = std::string(folder) + "talmiro_shell_test.cmd";
    const std::string mark = script + ".opened";
    std::ofstream(script) << "@echo opened>\"" << mark << "\"\r\n";
    win32::WindowsShell().open(0, "Open", script);
    for (int waited = 0;
         waited < 200 && GetFileAttributesA(mark.c_str()) == INVALID_FILE_ATTRIBUTES; ++waited) {
        Sleep(50);
    }
    EXPECT_TRUE(DeleteFileA(mark.c_str())) << "the script never ran";
    DeleteFileA(script.c_str());
}

TEST(Win32Window, TheWindowsShellOpensAnItemWithTheVerbOpen) {
    expectTheShellToRunAScript();
}

// Windows 7 and Vista without the loader update: kernel32 has neither SetDefaultDllDirectories nor
// AddDllDirectory, and LoadLibraryExW refuses LOAD_LIBRARY_SEARCH_SYSTEM32. Every library asked for
// is recorded.
decltype(&GetProcAddress) realGetProcAddress = nullptr;
decltype(&LoadLibraryExW) realLoadLibraryExW = nullptr;
std::vector<std::wstring> librariesAskedFor;

FARPROC WINAPI oldGetProcAddress(HMODULE module, LPCSTR name) {
    if (HIWORD(name) != 0 && (lstrcmpA(name, "AddDllDirectory") == 0 ||
                              lstrcmpA(name, "SetDefaultDllDirectories") == 0)) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return realGetProcAddress(module, name);
}

HMODULE WINAPI oldLoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags) {
    librariesAskedFor.emplace_back(name);
    if ((flags & LOAD_LIBRARY_SEARCH_SYSTEM32) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return realLoadLibraryExW(name, file, flags);
}

std::wstring systemFolder() {
    wchar_t folder[MAX_PATH] = {};
    return {folder, GetSystemDirectoryW(folder, MAX_PATH)};
}

std::wstring programFolder() {
    wchar_t path[MAX_PATH] = {};
    std::wstring program(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return program.substr(0, program.rfind(L'\\') + 1);
}

// Working copies of the system's own DLLs beside the program, where a search by bare name finds
// them first: the ones Windows loads later on the program's behalf (the theme engine and the
// compositor's client) and the ones the program loads for screen readers. None is a KnownDLL.
constexpr const wchar_t* planted[] = {L"uxtheme.dll", L"dwmapi.dll", L"oleacc.dll",
                                      L"uiautomationcore.dll"};

// In a process of its own, before anything has loaded the system's DLLs: the program's DLLs are
// planted, its start-up confines the search, and then the window is used as a pupil and a screen
// reader use it. No planted DLL may be loaded; the modules loaded say where each came from.
void expectNoPlantedDllToLoadWhileTheWindowIsUsed() {
    for (const wchar_t* dll : planted) {
        ASSERT_TRUE(CopyFileW((systemFolder() + L"\\" + dll).c_str(),
                              (programFolder() + dll).c_str(), FALSE));
    }
    win32::confineDllSearchToSystem32();
    {
        const std::unique_ptr<WindowDriver> window = makeDriver();
        window->type(u"Fe3O4");
        SystemParametersInfoW(SPI_SETSCREENREADER, TRUE, nullptr, 0);
        window->press({Key::Enter});
        SystemParametersInfoW(SPI_SETSCREENREADER, FALSE, nullptr, 0);
        window->boxesDuring([&] { window->click("Command3"); });
        for (std::string_view box : {"Text1", "Text2"}) {
            EXPECT_TRUE(window->accessible(box).name == form::accessibleName(form::control(box)));
        }
    }
    expectTheShellToRunAScript();

    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
    MODULEENTRY32W module{};
    module.dwSize = sizeof module;
    std::set<std::wstring> fromSystem;
    for (BOOL more = Module32FirstW(snapshot, &module); more;
         more = Module32NextW(snapshot, &module)) {
        const std::wstring path = module.szExePath;
        EXPECT_TRUE(module.hModule == GetModuleHandleW(nullptr) ||
                    !path.starts_with(programFolder()))
            << "loaded from beside the program: " << std::string(path.begin(), path.end());
        if (path.starts_with(systemFolder() + L'\\')) {
            fromSystem.insert(CharLowerW(module.szModule));
        }
    }
    CloseHandle(snapshot);
    for (const wchar_t* dll :
         {L"uxtheme.dll", L"oleacc.dll", L"uiautomationcore.dll", L"shell32.dll"}) {
        EXPECT_TRUE(fromSystem.contains(dll))
            << "the window never loaded " << std::string(dll, dll + lstrlenW(dll));
    }
    for (const wchar_t* dll : planted) {
        DeleteFileW((programFolder() + dll).c_str());
    }
}

// win32_window_with_planted_dlls: the loader of Windows 8 and later, and of Windows 7 updated.
TEST(PlantedDlls, NoneLoadsBesideTheProgram) {
    expectNoPlantedDllToLoadWhileTheWindowIsUsed();
}

// win32_window_on_an_old_loader: the same with the old loader, and every library the program asks
// for comes from the system folder by its full path, never by its bare name.
TEST(OldLoader, NoPlantedDllLoadsAndTheSystemsComeByTheirFullPath) {
    realGetProcAddress = replaceImport("kernel32.dll", "GetProcAddress", &oldGetProcAddress);
    realLoadLibraryExW = replaceImport("kernel32.dll", "LoadLibraryExW", &oldLoadLibraryExW);
    ASSERT_TRUE(realGetProcAddress != nullptr && realLoadLibraryExW != nullptr);
    expectNoPlantedDllToLoadWhileTheWindowIsUsed();
    replaceImport("kernel32.dll", "GetProcAddress", realGetProcAddress);
    replaceImport("kernel32.dll", "LoadLibraryExW", realLoadLibraryExW);

    std::set<std::wstring> dlls;
    for (const std::wstring& asked : librariesAskedFor) {
        EXPECT_TRUE(asked.starts_with(systemFolder() + L'\\'))
            << std::string(asked.begin(), asked.end());
        dlls.insert(asked.substr(asked.rfind(L'\\') + 1));
    }
    EXPECT_TRUE(std::ranges::includes(
        dlls,
        std::set<std::wstring>({L"uxtheme.dll", L"dwmapi.dll", L"oleacc.dll", L"shell32.dll"})));
}

// The built Talmiro.exe, or the one named by TALMIRO_EXE (the copy in the zip), read as data.
class Executable : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(exe, nullptr); }
    void TearDown() override { FreeLibrary(exe); }

    std::vector<std::uint8_t> resource(LPCWSTR type, WORD id) {
        HRSRC found = FindResourceExW(exe, type, MAKEINTRESOURCEW(id),
                                      MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
        const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(exe, found)));
        return {data, data + (found == nullptr ? 0 : SizeofResource(exe, found))};
    }

    const wchar_t* named = _wgetenv(L"TALMIRO_EXE");
    const wchar_t* path = named != nullptr && *named != L'\0' ? named : TALMIRO_EXE_PATH;
    HMODULE exe = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
};

TEST_F(Executable, ItsIconIsTheWindowsIconUnderItsNumbers) {
    std::vector<std::uint8_t> group = resource(RT_GROUP_ICON, 1);
    ASSERT_FALSE(group.empty());
    ASSERT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, 32, 32, LR_DEFAULTCOLOR), 30001);
    std::vector<std::uint8_t> image = resource(RT_ICON, 30001);
    EXPECT_EQ(reinterpret_cast<const BITMAPINFOHEADER*>(image.data())->biBitCount, 8);
    HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                          0x00030000, 32, 32, 0);
    const std::vector<form::Rgb> pixels = iconPixels(icon);
    DestroyIcon(icon);
    const IndexedIcon& painted = windowIcon();
    for (std::size_t i = 0; i < painted.pixels.size(); ++i) {
        const form::Rgb want = painted.palette[painted.pixels[i]];
        ASSERT_TRUE(pixels[i].red == want.red && pixels[i].green == want.green &&
                    pixels[i].blue == want.blue)
            << "pixel " << i % 32 << "," << i / 32;
    }
}

TEST_F(Executable, CarriesTheVersionFactsInChinese) {
    const std::vector<std::uint8_t> block = resource(RT_VERSION, 1);
    VS_FIXEDFILEINFO* fixed = nullptr;
    WORD* translation = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(std::vector<DWORD>({fixed->dwFileVersionMS, fixed->dwFileVersionLS,
                                  fixed->dwProductVersionMS, fixed->dwProductVersionLS,
                                  fixed->dwFileFlags, fixed->dwFileOS, fixed->dwFileType}),
              std::vector<DWORD>({0x20000, 0, 0x20000, 0, 0, VOS__WINDOWS32, VFT_APP}));
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &size));
    EXPECT_EQ(std::vector<WORD>(translation, translation + size / 2),
              std::vector<WORD>({0x0804, 0x04B0}));

    const std::pair<const wchar_t*, std::u16string_view> strings[] = {
        {L"Comments", u"修正了1.0版本中的一些错误"},
        {L"CompanyName", version::companyName},
        {L"FileDescription", u"查询化学式的软件"},
        {L"LegalCopyright", u"版权所有 (C) 小林工作室"},
        {L"ProductName", u"Talmiro2.0"},
        {L"FileVersion", u"2.00"},
        {L"ProductVersion", u"2.00"},
        {L"InternalName", u"Talmiro"},
        {L"OriginalFilename", u"Talmiro.exe"},
    };
    const std::wstring_view raw(reinterpret_cast<const wchar_t*>(block.data()), block.size() / 2);
    std::size_t previous = 0;
    for (const auto& [key, value] : strings) {
        wchar_t* shown = nullptr;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + key;
        ASSERT_TRUE(
            VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&shown), &size));
        EXPECT_TRUE(std::u16string_view(reinterpret_cast<const char16_t*>(shown)) == value);
        EXPECT_GT(raw.find(key), previous) << "strings out of order";
        previous = raw.find(key);
    }
}

TEST_F(Executable, AsksForEachMonitorsDpiTheCommonControls6AndNoElevation) {
    const std::vector<std::uint8_t> bytes = resource(RT_MANIFEST, 1);
    const std::string manifest(bytes.begin(), bytes.end());
    for (const char* part :
         {"level=\"asInvoker\"", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
          "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}", ">true/pm</dpiAware>",
          ">PerMonitorV2, PerMonitor</dpiAwareness>",
          "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    const char* width =
        sizeof(void*) == 8 ? "processorArchitecture=\"amd64\"" : "processorArchitecture=\"x86\"";
    EXPECT_NE(manifest.find(width), std::string::npos) << width;
}

// At a random address, with no code run from data; the 32-bit exe may use 4 GB on a 64-bit
// Windows, the 64-bit one addresses all of its space at random.
TEST_F(Executable, IsLoadedAtARandomAddressWithNoCodeRunFromData) {
    const auto* base = reinterpret_cast<const std::uint8_t*>(
        LoadLibraryExW(path, nullptr, DONT_RESOLVE_DLL_REFERENCES));
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const WORD dll = headers->OptionalHeader.DllCharacteristics;
    EXPECT_TRUE(dll & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE);
    EXPECT_TRUE(dll & IMAGE_DLLCHARACTERISTICS_NX_COMPAT);
    if (sizeof(void*) == 8) {
        EXPECT_TRUE(dll & IMAGE_DLLCHARACTERISTICS_HIGH_ENTROPY_VA);
    } else {
        EXPECT_TRUE(headers->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
    }
    FreeLibrary(reinterpret_cast<HMODULE>(const_cast<std::uint8_t*>(base)));
}

// Loaded on first use instead, so that start-up pays for neither (where from: OldLoader).
TEST_F(Executable, ImportsNeitherTheShellNorAccessibility) {
    const auto* base = reinterpret_cast<const std::uint8_t*>(
        LoadLibraryExW(path, nullptr, DONT_RESOLVE_DLL_REFERENCES));
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    int dlls = 0;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
             base +
             headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
         entry->Name != 0; ++entry, ++dlls) {
        const auto* dll = reinterpret_cast<const char*>(base + entry->Name);
        for (const char* loadedLater : {"shell32.dll", "oleacc.dll", "ole32.dll", "oleaut32.dll"}) {
            EXPECT_NE(lstrcmpiA(dll, loadedLater), 0) << dll;
        }
    }
    EXPECT_GT(dlls, 0);
    FreeLibrary(reinterpret_cast<HMODULE>(const_cast<std::uint8_t*>(base)));
}

}  // namespace
}  // namespace talmiro::test
