#include "ui/qt/application.h"

#include <QAccessible>
#include <QApplication>
#include <QFont>

#include "ui/form.h"
#include "ui/qt/accessible_text_box.h"
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
#include "ui/qt/notification.h"
#endif
#include "ui/qt/qt_font.h"
#include "ui/qt/qt_text.h"
#include "ui/version_info.h"

namespace talmiro::qt {

void configureApplication() {
    // The desktop knows the window by it: X11 takes the window's class (WM_CLASS) from it.
    QApplication::setApplicationName(toQString(version::internalName));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(version::appId));

    // Debian's AR PL faces carry the same GB2312 repertoire as the Windows faces they replace.
    const QStringList serif{QStringLiteral("AR PL UMing CN"), QStringLiteral("AR PL UMing TW")};
    const QStringList brush{QStringLiteral("AR PL UKai CN"), QStringLiteral("AR PL UKai TW")};
    QFont::insertSubstitutions(QStringLiteral("宋体"), serif);
    QFont::insertSubstitutions(QStringLiteral("华文行楷"), brush);

    // Qt lays out an input box's text in the application's font until the box has its own. With
    // the window's font as the application's, start-up resolves no face that the window does not
    // show. The toolkit's own box and menu are given the desktop's font where they open.
    QApplication::setFont(fontOf(form::windowFont));

    QAccessible::installFactory(accessibleTextBox);
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    QAccessible::installFactory(accessibleAnnouncement);
#endif
}

}  // namespace talmiro::qt
