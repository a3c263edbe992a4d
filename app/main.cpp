#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "ui/qt/application.h"
#include "ui/qt/desktop_shell.h"
#include "ui/qt/main_window.h"

namespace {

QtMessageHandler qtHandler = nullptr;

// Qt aborts, blaming its installation, when it cannot reach a display or start its platform
// plugin. Until the application exists any fatal message is one of those: say so plainly.
void reportNoDisplay(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtFatalMsg) {
        qtHandler(type, context, message);
        return;
    }
    std::fputs(
        "Talmiro 需要图形桌面才能运行，但无法打开窗口。\n"
        "Talmiro needs a graphical desktop, but no display could be reached to open its window.\n",
        stderr);
    std::_Exit(1);
}

}  // namespace

int main(int argc, char* argv[]) {
    qtHandler = qInstallMessageHandler(reportNoDisplay);
    QApplication application(argc, argv);
    qInstallMessageHandler(qtHandler);
    talmiro::qt::configureApplication();
    talmiro::qt::DesktopShell shell;
    talmiro::qt::MainWindow window(shell);
    window.show();
    return QApplication::exec();
}
