// The yardstick for start-up: the least a Qt Widgets program can do to show a window of
// Talmiro's size with some text in it.
#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QLabel window(QStringLiteral("Minimal"));
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.resize(455, 301);
    window.show();
    return QApplication::exec();
}
