#pragma once

#include <QPointer>

#include "ui/seams.h"

class QAccessibleInterface;
class QObject;
class QString;
class QWidget;

namespace talmiro::qt {

// Speaks through an empty child of the window with the notification role: Orca speaks such an
// object as it appears, named with the text, and leaves the focus where it is. Made at the first
// announcement; with no screen reader listening, Qt tells no one of it.
class ScreenReaderAnnouncer final : public Announcer {
  public:
    explicit ScreenReaderAnnouncer(QWidget& window) : window_(window) {}
    void announce(std::u16string_view text) noexcept override;

  private:
    QWidget& window_;
    QPointer<QWidget> notice_;
};

// The notification role for that child, for QAccessible::installFactory; nullptr for anything
// else.
QAccessibleInterface* accessibleAnnouncement(const QString& className, QObject* object);

}  // namespace talmiro::qt
