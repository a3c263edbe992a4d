#pragma once

#include <QLineEdit>
#include <QPointer>
#include <stdexcept>

#include "ui/qt/qt_text.h"
#include "ui/text_field.h"

namespace talmiro::qt {

// A line edit as the handlers read and set it; a box that is gone is reported, not touched.
class EditField : public TextField {
  public:
    explicit EditField(QLineEdit* box) : box_(box) {}
    std::u16string text() const override { return toU16(box().text()); }
    void setText(std::u16string_view text) override { box().setText(toQString(text)); }

  private:
    QLineEdit& box() const {
        if (box_ == nullptr) {
            throw std::runtime_error(textBoxGone);
        }
        return *box_;
    }
    QPointer<QLineEdit> box_;
};

}  // namespace talmiro::qt
