#pragma once

#include "ui/seams.h"

class QWidget;

namespace talmiro::qt {

// Qt's message box, owned by the main window, with its OK button labelled in Chinese whatever
// the system's language.
class MessageBoxDialog : public MessageDialog {
  public:
    explicit MessageBoxDialog(QWidget* owner) : owner_(owner) {}
    void show(std::u16string_view title, std::u16string_view text) override;

  private:
    QWidget* owner_;
};

}  // namespace talmiro::qt
