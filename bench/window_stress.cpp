// A long session through the real window on Qt's offscreen platform: 100,000 lookups by Enter
// and 10,000 clicks each on the help and home-page buttons (the real help box, closed as soon
// as it shows; a stand-in for the shell). Reports resident memory after the first 1,000 rounds and
// at the end; exits non-zero if memory grew beyond noise.
#include <unistd.h>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <fstream>

#include "ui/qt/application.h"
#include "ui/qt/main_window.h"

namespace {

long residentKiB() {
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

struct CountingShell : talmiro::Shell {
    void open(talmiro::NativeHandle, std::string_view, std::string_view) override { ++opened; }
    long opened = 0;
};

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    talmiro::qt::configureApplication();
    CountingShell shell;
    talmiro::qt::MainWindow window(shell);
    window.show();
    QApplication::processEvents();

    auto* text1 = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    auto* help = window.findChild<QPushButton*>(QStringLiteral("Command3"));
    auto* homePage = window.findChild<QPushButton*>(QStringLiteral("Command2"));
    const QString inputs[] = {QStringLiteral("Fe3O4"), QStringLiteral("四氧化三铁"),
                              QStringLiteral("nacl"), QString()};
    constexpr int lookups = 100'000;
    constexpr int clicksEvery = lookups / 10'000;
    long afterWarmUp = 0;
    long helpBoxes = 0;
    for (int round = 1; round <= lookups; ++round) {
        text1->setText(inputs[round % std::size(inputs)]);
        QTest::keyClick(text1, Qt::Key_Return);
        if (round % clicksEvery == 0) {
            QTimer::singleShot(0, [&helpBoxes] {
                if (auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                    ++helpBoxes;
                    box->reject();
                }
            });
            help->click();
            homePage->click();
        }
        QApplication::processEvents();
        if (round == 1'000) {
            afterWarmUp = residentKiB();
        }
    }
    const long atEnd = residentKiB();
    const double growth = 100.0 * static_cast<double>(atEnd - afterWarmUp) / afterWarmUp;
    std::printf("lookups %d, help boxes %ld, shell requests %ld\n", lookups, helpBoxes,
                shell.opened);
    std::printf("resident after 1,000 rounds: %ld KiB; at the end: %ld KiB (%+.1f%%)\n",
                afterWarmUp, atEnd, growth);
    return growth > 2.0 ? 1 : 0;
}
