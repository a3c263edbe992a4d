#pragma once

#include <QPointer>
#include <QtGlobal>

#include "ui/seams.h"

class QWidget;

namespace talmiro::qt {

class Announcement;

// Has a screen reader speak each answer and show it on a braille display; with no screen reader
// listening, Qt tells no one of it. From Qt 6.8 on, through Qt's own announcement, which Orca 48
// presents as a plain message. Before, through an Announcement made at the first answer; there,
// an answer that has just become the text of the box with the focus is left to the box, since
// Orca 43 speaks text that appears where the focus is.
class ScreenReaderAnnouncer final : public Announcer {
  public:
    explicit ScreenReaderAnnouncer(QWidget& window) : window_(window) {}
    void announce(std::u16string_view text) noexcept override;

  private:
    QWidget& window_;
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    QPointer<Announcement> announcement_;
#endif
};

}  // namespace talmiro::qt
