#include "ui/qt/desktop_shell.h"

#include <QDesktopServices>
#include <QUrl>

namespace talmiro::qt {

void DesktopShell::open(NativeHandle, std::string_view, std::string_view item) {
    // The launcher starts detached and returns at once; whether a browser came up is the
    // desktop's business, so the result is deliberately not looked at.
    QDesktopServices::openUrl(
        QUrl(QString::fromUtf8(item.data(), static_cast<qsizetype>(item.size()))));
}

}  // namespace talmiro::qt
