#pragma once

#include "ui/seams.h"

namespace talmiro::qt {

// Opens an item with the desktop's default handler (xdg-open on Linux). There is no owner window
// or verb to pass on here: the desktop always performs its default action.
class DesktopShell : public Shell {
  public:
    void open(NativeHandle owner, std::string_view verb, std::string_view item) override;
};

}  // namespace talmiro::qt
