#pragma once

#include <QPointer>
#include <QWidget>

#include "ui/seams.h"

class QAccessibleInterface;
class QLabel;
class QObject;
class QString;

namespace talmiro::qt {

// An empty child of the window with the notification role, which Orca 43 speaks as it starts
// showing: its role word, then the text of the label inside it, which a braille display also
// shows. The label holds the text, not the notification's name: Orca leaves out of both any label
// that repeats the name. Of no size, so it is never seen or clicked, and never takes the focus.
class Announcement final : public QWidget {
    Q_OBJECT
  public:
    explicit Announcement(QWidget& window);
    // Shown anew each time, so the same answer twice is spoken twice.
    void present(const QString& text);

  private:
    QLabel* text_;
};

// Has Orca speak each answer through an Announcement, made at the first answer; with no screen
// reader listening, Qt tells no one of it. An answer that has just become the text of the box
// with the focus is left to the box, since Orca speaks text that appears where the focus is.
class ScreenReaderAnnouncer final : public Announcer {
  public:
    explicit ScreenReaderAnnouncer(QWidget& window) : window_(window) {}
    void announce(std::u16string_view text) noexcept override;

  private:
    QWidget& window_;
    QPointer<Announcement> announcement_;
};

// The notification role for an Announcement, for QAccessible::installFactory; nullptr for
// anything else.
QAccessibleInterface* accessibleAnnouncement(const QString& className, QObject* object);

}  // namespace talmiro::qt
