#include "ui/qt/announcer.h"

#include <QAccessible>
#include <QWidget>

#include "ui/qt/qt_text.h"
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
#include <QLineEdit>

#include "ui/qt/notification.h"
#endif

namespace talmiro::qt {

void ScreenReaderAnnouncer::announce(std::u16string_view text) noexcept {
    try {
        const QString answer = toQString(text);
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
        QAccessibleAnnouncementEvent event(&window_, answer);
        QAccessible::updateAccessibility(&event);
#else
        if (const auto* box = qobject_cast<const QLineEdit*>(window_.focusWidget());
            box != nullptr && box->text() == answer) {
            return;
        }
        if (announcement_ == nullptr) {
            announcement_ = new Announcement(window_);
        }
        announcement_->present(answer);
#endif
    } catch (...) {
        // The answer is in the result box all the same.
    }
}

}  // namespace talmiro::qt
