#pragma once

#include "ui/seams.h"

namespace talmiro::win32 {

// Hands items to ShellExecuteA, which is looked up in shell32.dll on first use so that start-up
// never loads the shell.
class WindowsShell : public Shell {
  public:
    void open(NativeHandle owner, std::string_view verb, std::string_view item) override;
};

}  // namespace talmiro::win32
