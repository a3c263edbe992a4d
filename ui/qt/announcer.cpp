#include "ui/qt/announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>

#include "ui/qt/qt_text.h"

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

void ScreenReaderAnnouncer::announce(std::u16string_view text) noexcept {
    try {
        const QString answer = toQString(text);
        if (const auto* box = qobject_cast<const QLineEdit*>(window_.focusWidget());
            box != nullptr && box->text() == answer) {
            return;
        }
        if (announcement_ == nullptr) {
            announcement_ = new Announcement(window_);
        }
        announcement_->present(answer);
    } catch (...) {
        // The answer is in the result box all the same.
    }
}

QAccessibleInterface* accessibleAnnouncement(const QString&, QObject* object) {
    auto* announcement = qobject_cast<Announcement*>(object);
    return announcement == nullptr ? nullptr
                                   : new QAccessibleWidget(announcement, QAccessible::Notification);
}

}  // namespace talmiro::qt
