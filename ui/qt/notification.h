#pragma once

#include <QWidget>

class QAccessibleInterface;
class QLabel;
class QObject;
class QString;

namespace talmiro::qt {

// Before Qt 6.8, which has no announcement of its own: an empty child of the window with the
// notification role, which Orca 43 speaks as it starts showing: its role word, then the text of
// the label inside it, which a braille display also shows. The label holds the text, not the
// notification's name: Orca leaves out of both any label that repeats the name. Of no size, so
// it is never seen or clicked, and never takes the focus.
class Announcement final : public QWidget {
    Q_OBJECT
  public:
    explicit Announcement(QWidget& window);
    // Shown anew each time, so the same answer twice is spoken twice.
    void present(const QString& text);

  private:
    QLabel* text_;
};

// The notification role for an Announcement, for QAccessible::installFactory; nullptr for
// anything else.
QAccessibleInterface* accessibleAnnouncement(const QString& className, QObject* object);

}  // namespace talmiro::qt
