// The Win32 window under the shared scenarios, run under Wine, and what only the Windows build
// has: its fonts and the executable's resources.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/window_driver.h"
#include "ui/icon.h"
#include "ui/version_info.h"
#include "ui/win32/main_window.h"

namespace talmiro::test {
namespace {

std::u16string textOf(HWND window) {
    std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(
        window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()))));
    return text;
}

// The icon's pixels as the system draws them; a see-through pixel counts as black.
std::vector<form::Rgb> iconPixels(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) {
        return {};
    }
    const auto read = [](HBITMAP bitmap) {
        BITMAPINFO format{};
        format.bmiHeader = {sizeof(BITMAPINFOHEADER), 32, -32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<RGBQUAD> pixels(32 * 32);
        HDC screen = GetDC(nullptr);
        GetDIBits(screen, bitmap, 0, 32, pixels.data(), &format, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        return pixels;
    };
    const std::vector<RGBQUAD> colour = read(info.hbmColor);
    const std::vector<RGBQUAD> mask = read(info.hbmMask);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    std::vector<form::Rgb> pixels;
    for (std::size_t i = 0; i < colour.size(); ++i) {
        const RGBQUAD c = mask[i].rgbRed == 0 ? colour[i] : RGBQUAD{};
        pixels.push_back({c.rgbRed, c.rgbGreen, c.rgbBlue});
    }
    return pixels;
}

class Win32Driver : public WindowDriver {
  public:
    Win32Driver() {
        ShowWindow(window.handle(), SW_SHOWNORMAL);
        SetForegroundWindow(window.handle());
        pump();
    }

    void type(std::u16string_view text) override {
        for (char16_t unit : text) {
            send({keyboard(0, unit, KEYEVENTF_UNICODE),
                  keyboard(0, unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)});
        }
    }
    void paste(std::u16string_view text) override {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
        auto* units = static_cast<char16_t*>(GlobalLock(memory));
        text.copy(units, text.size());
        units[text.size()] = u'\0';
        GlobalUnlock(memory);
        OpenClipboard(window.handle());
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
        send({keyboard(VK_CONTROL), keyboard('V'), keyboard('V', 0, KEYEVENTF_KEYUP),
              keyboard(VK_CONTROL, 0, KEYEVENTF_KEYUP)});
    }
    void press(Key key) override {
        static constexpr WORD keys[] = {VK_RETURN, VK_SPACE, VK_TAB, VK_TAB, VK_ESCAPE,
                                        VK_LEFT,   VK_RIGHT, VK_UP,  VK_DOWN};
        const WORD code = keys[static_cast<int>(key)];
        if (key == Key::ShiftTab) {
            send({keyboard(VK_SHIFT), keyboard(code), keyboard(code, 0, KEYEVENTF_KEYUP),
                  keyboard(VK_SHIFT, 0, KEYEVENTF_KEYUP)});
        } else {
            send({keyboard(code), keyboard(code, 0, KEYEVENTF_KEYUP)});
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
        moveTo(from);
        send({mouse(MOUSEEVENTF_LEFTDOWN)});
        moveTo(to);
        send({mouse(MOUSEEVENTF_LEFTUP)});
    }
    void setText(std::string_view textBox, std::u16string_view text) override {
        SetWindowTextW(window.control(textBox), std::wstring(text.begin(), text.end()).c_str());
    }
    std::u16string text(std::string_view textBox) override {
        return textOf(window.control(textBox));
    }
    std::string focus() override {
        for (const form::Control& control : form::controls) {
            if (window.control(control.name) == GetFocus()) {
                return std::string(control.name);
            }
        }
        return "";
    }
    std::u16string title() override { return textOf(window.handle()); }
    Rect place(std::string_view control) override {
        RECT r{};
        if (control == form::windowName) {
            GetClientRect(window.handle(), &r);
        } else {
            GetWindowRect(window.control(control), &r);
            MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&r), 2);
        }
        return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
    std::vector<form::Rgb> icon() override {
        return iconPixels(
            reinterpret_cast<HICON>(SendMessageW(window.handle(), WM_GETICON, ICON_BIG, 0)));
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

    static INPUT keyboard(WORD code, WCHAR unit = 0, DWORD flags = 0) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki = {code, unit, flags, 0, 0};
        return input;
    }
    // Time stamps of our own: separate clicks lie further apart than a double click.
    INPUT mouse(DWORD flags) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        input.mi.time = ++clock;
        return input;
    }
    void send(std::vector<INPUT> inputs) {
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        pump();
    }
    void moveTo(std::string_view control) {
        POINT spot{4, 76};
        if (control != face) {
            const Rect r = place(control);
            spot = {r.left + r.width / 2, r.top + r.height / 2};
        }
        ClientToScreen(window.handle(), &spot);
        clock += GetDoubleClickTime();
        SetCursorPos(spot.x, spot.y);
        send({mouse(MOUSEEVENTF_MOVE)});
    }

    // A box is noted as it opens; once its own message loop runs, `onOpen` runs and the box is
    // closed with its first button.
    static LRESULT CALLBACK noteBox(int code, WPARAM wParam, LPARAM lParam) {
        const auto box = reinterpret_cast<HWND>(wParam);
        wchar_t boxKind[8] = {};
        GetClassNameW(box, boxKind, 8);
        if (code == HCBT_ACTIVATE && box != active->window.handle() &&
            std::wstring_view(boxKind) == L"#32770") {
            SeenBox noted{textOf(box), textOf(GetDlgItem(box, 0xFFFF)), {}, false};
            for (HWND child = GetWindow(box, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                wchar_t kind[16] = {};
                GetClassNameW(child, kind, 16);
                const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
                if ((style & WS_VISIBLE) != 0 && std::wstring_view(kind) == L"Button") {
                    noted.buttons.push_back(textOf(child));
                }
                noted.hasIcon = noted.hasIcon ||
                                ((style & WS_VISIBLE) != 0 && (style & SS_TYPEMASK) == SS_ICON &&
                                 std::wstring_view(kind) == L"Static" &&
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

    static inline Win32Driver* active = nullptr;
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

TEST(Win32Window, FontsAreAskedForWithTheGb2312CharacterSet) {
    Win32Driver driver;
    const struct {
        const char* name;
        const wchar_t* face;
        LONG height;
    } fonts[] = {
        {"Label1", L"华文行楷", -24}, {"Text1", L"宋体", -14},    {"Text2", L"宋体", -16},
        {"Label3", L"宋体", -16},     {"Command1", L"宋体", -16},
    };
    for (const auto& font : fonts) {
        LOGFONTW logFont{};
        const auto handle = reinterpret_cast<HFONT>(
            SendMessageW(driver.window.control(font.name), WM_GETFONT, 0, 0));
        ASSERT_NE(GetObjectW(handle, sizeof logFont, &logFont), 0) << font.name;
        EXPECT_STREQ(logFont.lfFaceName, font.face) << font.name;
        EXPECT_EQ(logFont.lfHeight, font.height) << font.name;
        EXPECT_EQ(logFont.lfCharSet, GB2312_CHARSET) << font.name;
        EXPECT_EQ(logFont.lfWeight, FW_NORMAL) << font.name;
    }
}

// The built Talmiro.exe, or the one named by TALMIRO_EXE (the copy in the zip), read as data.
class Executable : public ::testing::Test {
  protected:
    void SetUp() override {
        const wchar_t* named = _wgetenv(L"TALMIRO_EXE");
        path = named != nullptr && *named != L'\0' ? named : TALMIRO_EXE_PATH;
        exe = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(exe, nullptr);
    }
    void TearDown() override { FreeLibrary(exe); }

    std::vector<std::uint8_t> resource(LPCWSTR type, WORD id) {
        HRSRC found = FindResourceExW(exe, type, MAKEINTRESOURCEW(id),
                                      MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
        if (found == nullptr) {
            return {};
        }
        const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(exe, found)));
        return {data, data + SizeofResource(exe, found)};
    }

    const wchar_t* path = nullptr;
    HMODULE exe = nullptr;
};

TEST_F(Executable, ItsIconIsTheWindowsIconUnderItsNumbers) {
    std::vector<std::uint8_t> group = resource(RT_GROUP_ICON, 1);
    ASSERT_FALSE(group.empty());
    ASSERT_EQ(LookupIconIdFromDirectoryEx(group.data(), TRUE, 32, 32, LR_DEFAULTCOLOR), 30001);
    std::vector<std::uint8_t> image = resource(RT_ICON, 30001);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    EXPECT_EQ(header->biBitCount, 8) << "256 colours";
    HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                          0x00030000, 32, 32, 0);
    const std::vector<form::Rgb> pixels = iconPixels(icon);
    DestroyIcon(icon);
    const IndexedIcon& painted = windowIcon();
    ASSERT_EQ(pixels.size(), painted.pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const form::Rgb want = painted.palette[painted.pixels[i]];
        ASSERT_TRUE(pixels[i].red == want.red && pixels[i].green == want.green &&
                    pixels[i].blue == want.blue)
            << "pixel " << i % 32 << "," << i / 32;
    }
}

TEST_F(Executable, CarriesTheVersionFacts) {
    const std::vector<std::uint8_t> block = resource(RT_VERSION, 1);
    ASSERT_FALSE(block.empty()) << "no Chinese version resource";

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileFlags, 0u);
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &size));
    ASSERT_EQ(size, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 0x04B0);

    const struct {
        const wchar_t* key;
        std::u16string_view value;
    } strings[] = {
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
    const std::wstring_view raw(reinterpret_cast<const wchar_t*>(block.data()),
                                block.size() / sizeof(wchar_t));
    std::size_t previous = 0;
    for (const auto& string : strings) {
        wchar_t* value = nullptr;
        const std::wstring path = std::wstring(L"\\StringFileInfo\\080404b0\\") + string.key;
        ASSERT_TRUE(
            VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &size));
        EXPECT_TRUE(std::u16string_view(reinterpret_cast<const char16_t*>(value)) == string.value);
        const std::size_t at = raw.find(string.key);
        EXPECT_GT(at, previous) << "strings out of order";
        previous = at;
    }
}

TEST_F(Executable, LeavesTheShellUnloadedUntilTheFirstClick) {
    HMODULE image = LoadLibraryExW(path, nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(image, nullptr);
    const auto* base = reinterpret_cast<const std::uint8_t*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    int dlls = 0;
    for (; entry->Name != 0; ++entry, ++dlls) {
        EXPECT_NE(lstrcmpiA(reinterpret_cast<const char*>(base + entry->Name), "shell32.dll"), 0);
    }
    FreeLibrary(image);
    EXPECT_GT(dlls, 0);
}

}  // namespace
}  // namespace talmiro::test
