// The Qt window's launcher through the real desktop services, on an X display, with a stand-in
// for the desktop's opener on PATH that notes what it is given.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include "ui/home_page.h"
#include "ui/qt/desktop_shell.h"

namespace talmiro::test {
namespace {

TEST(DesktopShell, HandsTheAddressToTheDesktopsOpener) {
    QTemporaryDir folder;
    const std::string opener = folder.filePath(QStringLiteral("xdg-open")).toStdString();
    std::ofstream(opener) << "#!/bin/sh\nprintf %s \"$*\" > \"$0.called\"\n";
    std::filesystem::permissions(opener, std::filesystem::perms::owner_all);
    qputenv("PATH", folder.path().toUtf8() + ':' + qgetenv("PATH"));
    int argc = 1;
    char name[] = "desktop_shell_tests";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    qt::DesktopShell().open(0, "Open", homePageAddress);
    QFile called(QString::fromStdString(opener + ".called"));
    for (int waited = 0; waited < 100 && called.size() == 0; ++waited) {
        QTest::qWait(50);
    }
    called.open(QIODevice::ReadOnly);
    EXPECT_EQ(called.readAll().toStdString(), homePageAddress) << "the opener was never started";
}

}  // namespace
}  // namespace talmiro::test
