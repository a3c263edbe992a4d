#pragma once

#include <windows.h>

#include <string_view>

#include "ui/seams.h"

namespace talmiro::win32 {

// Raises a UI Automation notification of the text on the window; false where none was raised.
using UiaNotifier = bool (*)(HWND window, std::u16string_view text);

// The system's notification (Windows 10 1709 and later), which Narrator, NVDA and JAWS speak.
// UIAutomationCore is loaded only once a screen reader says that it is running.
bool raiseUiaNotification(HWND window, std::u16string_view text);

// Speaks through a UI Automation notification where one can be raised, and otherwise through an
// alert that MSAA screen readers speak: an empty child of the window with the alert role, named
// with the text, that raises EVENT_SYSTEM_ALERT. Never both, so nothing is heard twice; neither
// moves the focus.
class ScreenReaderAnnouncer final : public Announcer {
  public:
    explicit ScreenReaderAnnouncer(HWND window, UiaNotifier notify = raiseUiaNotification)
        : window_(window), notify_(notify) {}
    void announce(std::u16string_view text) noexcept override;

  private:
    HWND window_;
    UiaNotifier notify_;
    HWND alert_ = nullptr;  // made at the first alert
};

}  // namespace talmiro::win32
