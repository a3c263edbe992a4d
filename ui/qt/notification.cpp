#include "ui/qt/notification.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace talmiro::qt {

// Made without a parent and given the window only once it is whole: the first thing Qt tells a
// screen reader of it already finds it an Announcement, never a plain widget.
Announcement::Announcement(QWidget& window) : QWidget(nullptr), text_(new QLabel(this)) {
    setFocusPolicy(Qt::NoFocus);
    setParent(&window);
    setGeometry(0, 0, 0, 0);
}

void Announcement::present(const QString& text) {
    text_->setText(text);
    hide();
    show();
}

QAccessibleInterface* accessibleAnnouncement(const QString&, QObject* object) {
    auto* announcement = qobject_cast<Announcement*>(object);
    return announcement == nullptr ? nullptr
                                   : new QAccessibleWidget(announcement, QAccessible::Notification);
}

}  // namespace talmiro::qt
