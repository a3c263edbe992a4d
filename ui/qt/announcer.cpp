#include "ui/qt/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

#include "ui/qt/qt_text.h"

namespace talmiro::qt {
namespace {

const QString& noticeName() {
    static const QString name = QStringLiteral("announcement");
    return name;
}

}  // namespace

void ScreenReaderAnnouncer::announce(std::u16string_view text) noexcept {
    try {
        if (notice_ == nullptr) {
            notice_ = new QWidget(&window_);
            notice_->setObjectName(noticeName());
            notice_->setFocusPolicy(Qt::NoFocus);
            notice_->setGeometry(0, 0, 0, 0);
        }
        notice_->setAccessibleName(toQString(text));
        // Orca speaks a notification when it starts showing, so each answer shows it anew, the
        // same answer twice included.
        notice_->hide();
        notice_->show();
    } catch (...) {
        // The answer is in the result box all the same.
    }
}

QAccessibleInterface* accessibleAnnouncement(const QString&, QObject* object) {
    return object != nullptr && object->isWidgetType() && object->objectName() == noticeName()
               ? new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification)
               : nullptr;
}

}  // namespace talmiro::qt
