#pragma once

#include <QWidget>
#include <memory>

#include "ui/form.h"
#include "ui/main_form.h"
#include "ui/qt/announcer.h"
#include "ui/qt/edit_field.h"
#include "ui/qt/message_box.h"
#include "ui/seams.h"

class QLineEdit;

namespace talmiro::qt {

// The single window, built from the form description. A plain window, not a dialog: screen readers
// name a dialog before everything it announces, every answer included. Enter presses the button
// with the focus, and Command1 from anywhere else, as in a dialog.
class MainWindow : public QWidget, private OwnerWindow {
    Q_OBJECT
  public:
    explicit MainWindow(Shell& shell);
    ~MainWindow() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    NativeHandle nativeHandle() const override;
    void createControls();
    void wireHandlers();

    QLineEdit* text1_ = nullptr;
    QLineEdit* text2_ = nullptr;
    std::unique_ptr<EditField> text1Field_;
    std::unique_ptr<EditField> text2Field_;
    std::unique_ptr<MessageBoxDialog> messages_;
    ScreenReaderAnnouncer announcer_{*this};
    std::unique_ptr<MainForm> form_;
    bool hasDesktopIcons_ = false;
};

}  // namespace talmiro::qt
