#include "ui/qt/message_box.h"

#include <QFontDatabase>
#include <QMessageBox>
#include <QPushButton>

#include "ui/qt/qt_text.h"
#include "ui/qt/toolkit_texts.h"

namespace talmiro::qt {

void MessageBoxDialog::show(std::u16string_view title, std::u16string_view text) {
    useChineseToolkitTexts();
    QMessageBox box(QMessageBox::NoIcon, toQString(title), toQString(text), QMessageBox::Ok,
                    owner_);
    box.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    box.setWindowModality(Qt::ApplicationModal);
    // Some styles decorate dialog buttons with icons; the box is meant to carry none.
    box.button(QMessageBox::Ok)->setIcon(QIcon());
    box.exec();
}

}  // namespace talmiro::qt
