#pragma once

#include <windows.h>

#include "ui/seams.h"

namespace talmiro::win32 {

// The system's message box, owned by the main window, with its OK button labelled in Chinese
// whatever the system's language.
class MessageBoxDialog : public MessageDialog {
  public:
    explicit MessageBoxDialog(HWND owner) : owner_(owner) {}
    void show(std::u16string_view title, std::u16string_view text) override;

  private:
    HWND owner_;
};

}  // namespace talmiro::win32
