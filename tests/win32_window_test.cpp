#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue/lookup.h"
#include "ui/form.h"
#include "ui/help.h"
#include "ui/home_page.h"
#include "ui/icon_resource.h"
#include "ui/version_info.h"
#include "ui/win32/main_window.h"

namespace talmiro::win32 {
namespace {

std::wstring wide(std::u16string_view text) {
    return {text.begin(), text.end()};
}

std::wstring textOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

struct StandInShell : Shell {
    void open(NativeHandle owner, std::string_view verb, std::string_view item) override {
        if (fail) {
            throw std::runtime_error("shell unavailable");
        }
        requests.push_back({owner, std::string(verb), std::string(item)});
    }
    struct Request {
        NativeHandle owner;
        std::string verb;
        std::string item;
    };
    std::vector<Request> requests;
    bool fail = false;
};

// What a message box showed, seen from a CBT hook as it opened; the hook then closes it.
struct SeenBox {
    std::wstring title;
    std::wstring text;
    std::vector<std::wstring> buttons;
    bool hasIcon = false;
    bool ownerEnabled = true;
};

class Win32WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ShowWindow(window.handle(), SW_SHOWNORMAL);
        SetForegroundWindow(window.handle());
        pump();
    }

    void pump() {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (!window.translate(message)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
    }

    HWND control(const char* name) { return window.control(name); }
    std::wstring text(const char* name) { return textOf(control(name)); }
    void setText(const char* name, const wchar_t* text) { SetWindowTextW(control(name), text); }

    // Real key strokes through the system's input queue, to whichever control has the focus.
    void press(WORD key, bool shift = false) {
        std::vector<INPUT> inputs;
        const auto stroke = [&inputs](WORD code, DWORD flags) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = code;
            input.ki.dwFlags = flags;
            inputs.push_back(input);
        };
        if (shift) {
            stroke(VK_SHIFT, 0);
        }
        stroke(key, 0);
        stroke(key, KEYEVENTF_KEYUP);
        if (shift) {
            stroke(VK_SHIFT, KEYEVENTF_KEYUP);
        }
        SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
        pump();
    }

    void focus(const char* name) {
        SendMessageW(window.handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(name)), TRUE);
        pump();
    }

    void clickButton(const char* name) {
        SendMessageW(control(name), BM_CLICK, 0, 0);
        pump();
    }

    // Mouse messages as the system sends them to the box under the pointer.
    void mouse(HWND target, const std::vector<UINT>& messages) {
        RECT inside{};
        GetClientRect(target, &inside);
        const LPARAM centre = MAKELPARAM(inside.right / 2, inside.bottom / 2);
        for (UINT message : messages) {
            const WPARAM buttons = message == WM_LBUTTONUP || message == WM_MBUTTONUP ? 0
                                   : message == WM_MBUTTONDOWN                        ? MK_MBUTTON
                                                                                      : MK_LBUTTON;
            PostMessageW(target, message, buttons, centre);
        }
        pump();
    }

    // Runs `trigger`, noting each message box that opens meanwhile and closing it with OK.
    std::vector<SeenBox> boxesDuring(const std::function<void()>& trigger) {
        seenBoxes().clear();
        mainWindow() = window.handle();
        HHOOK hook = SetWindowsHookExW(WH_CBT, noteAndClose, nullptr, GetCurrentThreadId());
        trigger();
        UnhookWindowsHookEx(hook);
        return seenBoxes();
    }

    static std::vector<SeenBox>& seenBoxes() {
        static std::vector<SeenBox> boxes;
        return boxes;
    }
    static HWND& mainWindow() {
        static HWND handle = nullptr;
        return handle;
    }

    static LRESULT CALLBACK noteAndClose(int code, WPARAM wParam, LPARAM lParam) {
        const auto box = reinterpret_cast<HWND>(wParam);
        if (code == HCBT_ACTIVATE && box != mainWindow()) {
            SeenBox seen;
            seen.title = textOf(box);
            seen.text = textOf(GetDlgItem(box, 0xFFFF));
            for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                wchar_t windowClass[16] = {};
                GetClassNameW(child, windowClass, 16);
                // The box is not on screen yet: its own style bits say what will show.
                const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
                if ((style & WS_VISIBLE) == 0) {
                    continue;
                }
                if (std::wstring_view(windowClass) == L"Button") {
                    seen.buttons.push_back(textOf(child));
                } else if (std::wstring_view(windowClass) == L"Static" &&
                           (style & SS_TYPEMASK) == SS_ICON &&
                           SendMessageW(child, STM_GETICON, 0, 0) != 0) {
                    seen.hasIcon = true;
                }
            }
            seenBoxes().push_back(seen);
            openBox() = box;
            // Look again once the box runs its own message loop, then close it.
            SetTimer(nullptr, 0, 10, checkAndClose);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static HWND& openBox() {
        static HWND handle = nullptr;
        return handle;
    }

    static void CALLBACK checkAndClose(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        seenBoxes().back().ownerEnabled = IsWindowEnabled(mainWindow()) != 0;
        PostMessageW(openBox(), WM_COMMAND, IDOK, 0);
    }

    StandInShell shell;
    MainWindow window{GetModuleHandleW(nullptr), shell};
};

TEST_F(Win32WindowTest, StartsWithThePromptSelectedInTheFocusedInput) {
    EXPECT_EQ(textOf(window.handle()), L"Talmiro");
    EXPECT_EQ(text("Text1"), wide(form::inputPrompt));
    EXPECT_EQ(text("Text2"), L"");
    EXPECT_EQ(GetFocus(), control("Text1"));
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(control("Text1"), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(end - start, form::inputPrompt.size());
}

TEST_F(Win32WindowTest, ControlsSitWhereTheFormPutsThemAt96Dpi) {
    RECT client{};
    GetClientRect(window.handle(), &client);
    EXPECT_EQ(client.right, 455);
    EXPECT_EQ(client.bottom, 301);
    const struct {
        const char* name;
        RECT pixels;
    } places[] = {
        {"Label1", {120, 16, 320, 44}},  {"Text1", {16, 64, 273, 89}},
        {"Label3", {304, 64, 441, 169}}, {"Command3", {200, 208, 289, 233}},
        {"Label5", {0, 280, 225, 297}},
    };
    for (const auto& place : places) {
        RECT rect{};
        GetWindowRect(control(place.name), &rect);
        MapWindowPoints(nullptr, window.handle(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_TRUE(EqualRect(&rect, &place.pixels)) << place.name;
    }
}

TEST_F(Win32WindowTest, FontsAreRequestedWithTheGb2312CharacterSet) {
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
        const auto handle =
            reinterpret_cast<HFONT>(SendMessageW(control(font.name), WM_GETFONT, 0, 0));
        ASSERT_NE(GetObjectW(handle, sizeof logFont, &logFont), 0) << font.name;
        EXPECT_STREQ(logFont.lfFaceName, font.face) << font.name;
        EXPECT_EQ(logFont.lfHeight, font.height) << font.name;
        EXPECT_EQ(logFont.lfCharSet, GB2312_CHARSET) << font.name;
        EXPECT_EQ(logFont.lfWeight, FW_NORMAL) << font.name;
    }
}

TEST_F(Win32WindowTest, LooksUpOnClickEnterFromEitherBoxAndSpace) {
    const struct {
        const char* how;
        std::function<void()> press;
    } presses[] = {
        {"click", [&] { clickButton("Command1"); }},
        {"Enter in Text1",
         [&] {
             focus("Text1");
             press(VK_RETURN);
         }},
        {"Enter in Text2",
         [&] {
             focus("Text2");
             press(VK_RETURN);
         }},
        {"Space on the button",
         [&] {
             focus("Command1");
             press(VK_SPACE);
         }},
    };
    for (const auto& way : presses) {
        SCOPED_TRACE(way.how);
        setText("Text1", L"氯化钠");
        setText("Text2", L"previous answer");
        way.press();
        EXPECT_EQ(text("Text2"), L"NaCl");
        EXPECT_EQ(text("Text1"), L"氯化钠");
    }
}

TEST_F(Win32WindowTest, EnterOnTheOtherButtonsPressesThemNotTheLookup) {
    setText("Text2", L"kept");
    focus("Command2");
    press(VK_RETURN);
    EXPECT_EQ(shell.requests.size(), 1u);
    focus("Command3");
    EXPECT_EQ(boxesDuring([&] { press(VK_RETURN); }).size(), 1u);
    EXPECT_EQ(text("Text2"), L"kept");
    focus("Text1");
    press(VK_RETURN);
    EXPECT_EQ(text("Text2"), wide(notFoundMessage));
}

TEST_F(Win32WindowTest, EscapeChangesNothing) {
    press(VK_ESCAPE);
    focus("Command1");
    press(VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(window.handle()));
    EXPECT_EQ(text("Text1"), wide(form::inputPrompt));
    EXPECT_EQ(text("Text2"), L"");
}

TEST_F(Win32WindowTest, TabCyclesTheFocusableControlsBothWays) {
    const char* forward[] = {"Command1", "Text2", "Command2", "Command3", "Text1"};
    for (const char* name : forward) {
        press(VK_TAB);
        EXPECT_EQ(GetFocus(), control(name)) << name;
    }
    for (int i = 3; i >= 0; --i) {
        press(VK_TAB, true);
        EXPECT_EQ(GetFocus(), control(forward[i])) << "back to " << forward[i];
    }
    press(VK_TAB, true);
    EXPECT_EQ(GetFocus(), control("Text1"));
    EXPECT_EQ(text("Text1"), wide(form::inputPrompt)) << "focus alone keeps the text";
}

TEST_F(Win32WindowTest, EveryPrimaryClickInTheInputEmptiesIt) {
    setText("Text2", L"answer");
    HWND text1 = control("Text1");
    mouse(text1, {WM_LBUTTONDOWN, WM_LBUTTONUP});
    EXPECT_EQ(text("Text1"), L"");
    setText("Text1", L"硫酸");
    mouse(text1, {WM_MBUTTONDOWN, WM_MBUTTONUP});
    EXPECT_EQ(text("Text1"), L"硫酸") << "only the primary button clicks";
    mouse(text1, {WM_LBUTTONDOWN, WM_LBUTTONUP});
    setText("Text1", L"硫酸");
    mouse(text1, {WM_LBUTTONDBLCLK, WM_LBUTTONUP});
    EXPECT_EQ(text("Text1"), L"") << "the second click of a double click counts";
    EXPECT_EQ(text("Text2"), L"answer");
}

TEST_F(Win32WindowTest, HelpIsAModalBoxWithTheHelpTextAndAChineseOkButton) {
    setText("Text1", L"NaCl");
    for (int time = 0; time < 2; ++time) {
        const auto boxes = boxesDuring([&] { clickButton("Command3"); });
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, wide(helpTitle));
        EXPECT_EQ(boxes[0].text, wide(helpText));
        EXPECT_EQ(boxes[0].buttons, std::vector<std::wstring>{L"确定"});
        EXPECT_FALSE(boxes[0].hasIcon);
        EXPECT_FALSE(boxes[0].ownerEnabled) << "the window takes no input while it is open";
    }
    EXPECT_TRUE(IsWindowEnabled(window.handle()));
    EXPECT_EQ(text("Text1"), L"NaCl");
    EXPECT_EQ(text("Text2"), L"");
}

TEST_F(Win32WindowTest, TheHomePageButtonMakesOneShellRequestPerClick) {
    clickButton("Command2");
    clickButton("Command2");
    ASSERT_EQ(shell.requests.size(), 2u);
    for (const auto& request : shell.requests) {
        EXPECT_EQ(request.owner, reinterpret_cast<NativeHandle>(window.handle()));
        EXPECT_EQ(request.verb, "Open");
        EXPECT_EQ(request.item, homePageAddress);
    }
}

TEST_F(Win32WindowTest, AnErrorInAHandlerIsReportedAndTheWindowLivesOn) {
    shell.fail = true;
    const auto boxes = boxesDuring([&] { clickButton("Command2"); });
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, wide(runtimeErrorTitle));
    EXPECT_EQ(boxes[0].text, wide(runtimeErrorPrefix) + L"shell unavailable");
    EXPECT_TRUE(IsWindow(window.handle()));
    clickButton("Command1");
    EXPECT_EQ(text("Text2"), wide(notFoundMessage));
}

// The built Talmiro.exe, or the one named by TALMIRO_EXE (the copy in the zip), read as data.
const wchar_t* exePath() {
    const wchar_t* named = _wgetenv(L"TALMIRO_EXE");
    return named != nullptr && *named != L'\0' ? named : TALMIRO_EXE_PATH;
}

class ExecutableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        exe = LoadLibraryExW(exePath(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
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

    HMODULE exe = nullptr;
};

TEST_F(ExecutableTest, CarriesTheIconUnderItsNumbersInChinese) {
    EXPECT_EQ(resource(RT_GROUP_ICON, iconGroupId), iconGroupResource(windowIcon()));
    EXPECT_EQ(resource(RT_ICON, iconImageId), iconImageResource(windowIcon()));
}

TEST_F(ExecutableTest, CarriesTheVersionFacts) {
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
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS_NT_WINDOWS32));
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
        {L"LegalCopyright", version::legalCopyright},
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
            VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &size))
            << "missing " << path.size();
        EXPECT_EQ(std::wstring(value), wide(string.value));
        const std::size_t at = raw.find(string.key);
        EXPECT_GT(at, previous) << "strings out of order";
        previous = at;
    }
}

TEST_F(ExecutableTest, DoesNotImportTheShell) {
    HMODULE image = LoadLibraryExW(exePath(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(image, nullptr);
    const auto* base = reinterpret_cast<const std::uint8_t*>(image);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::string> dlls;
    for (const auto* entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        std::string name(reinterpret_cast<const char*>(base + entry->Name));
        for (char& c : name) {
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        }
        dlls.push_back(name);
    }
    FreeLibrary(image);
    EXPECT_FALSE(dlls.empty());
    for (const std::string& dll : dlls) {
        EXPECT_NE(dll, "shell32.dll");
    }
}

}  // namespace
}  // namespace talmiro::win32
