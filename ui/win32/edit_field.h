#pragma once

#include <windows.h>

#include <stdexcept>

#include "ui/text_field.h"
#include "ui/win32/win32_text.h"

namespace talmiro::win32 {

// An edit box as the handlers read and set it; a box that is gone is reported, not touched.
class EditField : public TextField {
  public:
    explicit EditField(HWND edit) : edit_(edit) {}
    std::u16string text() const override {
        checkAvailable();
        return windowText(edit_);
    }
    void setText(std::u16string_view text) override {
        checkAvailable();
        if (!SetWindowTextW(edit_, wide(text).c_str())) {
            throw std::runtime_error("无法设置文本框的内容");
        }
    }

  private:
    void checkAvailable() const {
        if (!IsWindow(edit_)) {
            throw std::runtime_error(textBoxGone);
        }
    }
    HWND edit_;
};

}  // namespace talmiro::win32
