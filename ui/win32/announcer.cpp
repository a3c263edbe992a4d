#include "ui/win32/announcer.h"

#include <oleacc.h>
#include <uiautomationcore.h>

#include "ui/win32/accessible_object.h"
#include "ui/win32/system_function.h"
#include "ui/win32/win32_text.h"

namespace talmiro::win32 {
namespace {

// Values of NotificationKind and NotificationProcessing, which the toolchain's headers predate;
// its uiautomationcoreapi.h does not compile as C++, so the functions' types are spelled here.
constexpr int notificationKindActionCompleted = 2;
constexpr int notificationProcessingImportantMostRecent = 1;

struct UiaNotifications {
    using HostProvider = HRESULT(WINAPI*)(HWND window, IRawElementProviderSimple** provider);
    using RaiseNotification = HRESULT(WINAPI*)(IRawElementProviderSimple* provider, int kind,
                                               int processing, BSTR text, BSTR activity);
    HMODULE core = systemLibrary(L"uiautomationcore.dll");
    RaiseNotification raise = functionIn<RaiseNotification>(core, "UiaRaiseNotificationEvent");
    HostProvider hostProvider = functionIn<HostProvider>(core, "UiaHostProviderFromHwnd");
    decltype(&SysAllocStringLen) allocString =
        systemFunction<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
    decltype(&SysFreeString) freeString =
        systemFunction<decltype(&SysFreeString)>(L"oleaut32.dll", "SysFreeString");

    bool available() const { return raise && hostProvider && allocString && freeString; }
    BSTR string(std::u16string_view text) const {
        return allocString(reinterpret_cast<const OLECHAR*>(text.data()),
                           static_cast<UINT>(text.size()));
    }
};

constexpr wchar_t alertClass[] = L"TalmiroAnnouncement";

LRESULT CALLBACK alertProc(HWND alert, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        if (const LRESULT object = namedAccessibleObject(
                alert, OBJID_CLIENT, wParam, windowText(alert), {}, ROLE_SYSTEM_ALERT)) {
            return object;
        }
    }
    return DefWindowProcW(alert, message, wParam, lParam);
}

// Of no size, so it is never seen or clicked; WS_GROUP closes the last group of controls before
// it, so that the dialog manager's arrow keys never reach it, and Tab skips it for want of
// WS_TABSTOP.
HWND createAlert(HWND window) {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = alertProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = alertClass;
        return RegisterClassW(&windowClass) != 0;
    }();
    return registered ? CreateWindowExW(0, alertClass, L"", WS_CHILD | WS_VISIBLE | WS_GROUP, 0, 0,
                                        0, 0, window, nullptr, GetModuleHandleW(nullptr), nullptr)
                      : nullptr;
}

}  // namespace

bool raiseUiaNotification(HWND window, std::u16string_view text) {
    BOOL screenReader = FALSE;
    if (!SystemParametersInfoW(SPI_GETSCREENREADER, 0, &screenReader, 0) || !screenReader) {
        return false;
    }
    static const UiaNotifications uia;
    IRawElementProviderSimple* provider = nullptr;
    if (!uia.available() || FAILED(uia.hostProvider(window, &provider)) || provider == nullptr) {
        return false;
    }
    const BSTR spoken = uia.string(text);
    const BSTR activity = uia.string(u"TalmiroLookupResult");
    const bool raised =
        spoken != nullptr && activity != nullptr &&
        SUCCEEDED(uia.raise(provider, notificationKindActionCompleted,
                            notificationProcessingImportantMostRecent, spoken, activity));
    uia.freeString(activity);
    uia.freeString(spoken);
    provider->Release();
    return raised;
}

void ScreenReaderAnnouncer::announce(std::u16string_view text) noexcept {
    try {
        if (notify_(window_, text)) {
            return;
        }
        if (alert_ == nullptr) {
            alert_ = createAlert(window_);
        }
        if (alert_ != nullptr && SetWindowTextW(alert_, wide(text).c_str())) {
            NotifyWinEvent(EVENT_SYSTEM_ALERT, alert_, OBJID_CLIENT, CHILDID_SELF);
        }
    } catch (...) {
        // The answer is in the result box all the same.
    }
}

}  // namespace talmiro::win32
