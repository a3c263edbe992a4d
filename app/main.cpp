#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "ui/qt/application.h"
#include "ui/qt/desktop_shell.h"
#include "ui/qt/main_window.h"

namespace {

// Qt aborts with a terse message when it finds no display; say plainly what is missing.
bool hasDisplay() {
    const auto isSet = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return isSet("DISPLAY") || isSet("WAYLAND_DISPLAY") || isSet("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!hasDisplay()) {
        std::fputs("Talmiro 需要图形桌面才能运行 (no graphical display: DISPLAY is not set).\n",
                   stderr);
        return 1;
    }
    QApplication application(argc, argv);
    talmiro::qt::configureApplication(application);
    talmiro::qt::DesktopShell shell;
    talmiro::qt::MainWindow window(shell);
    window.show();
    return QApplication::exec();
}
