// The Qt window's launcher through the real desktop services, on a Wayland display
// (with_weston.sh), with a stand-in for the desktop's opener on PATH that notes what it is given.
#include <gtest/gtest.h>

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
    QFile opener(folder.filePath(QStringLiteral("xdg-open")));
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write("#!/bin/sh\nprintf %s \"$*\" > \"$0.called\"\n");
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    qputenv("PATH", folder.path().toUtf8() + ':' + qgetenv("PATH"));

    int argc = 1;
    char name[] = "desktop_shell_tests";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    qt::DesktopShell().open(0, "Open", homePageAddress);
    QFile called(opener.fileName() + QStringLiteral(".called"));
    for (int waited = 0; waited < 100 && called.size() == 0; ++waited) {
        QTest::qWait(50);
    }
    ASSERT_TRUE(called.open(QIODevice::ReadOnly)) << "the opener was never started";
    EXPECT_EQ(called.readAll().toStdString(), homePageAddress);
}

}  // namespace
}  // namespace talmiro::test
