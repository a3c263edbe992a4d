#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextLayout>
#include <QTimer>
#include <functional>
#include <stdexcept>

#include "catalogue/lookup.h"
#include "ui/form.h"
#include "ui/help.h"
#include "ui/home_page.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"

namespace talmiro::qt {
namespace {

struct StandInShell : Shell {
    void open(NativeHandle owner, std::string_view verb, std::string_view item) override {
        if (fail) {
            throw std::runtime_error("shell unavailable");
        }
        requests.push_back({owner, QString::fromLatin1(verb), QString::fromLatin1(item)});
    }
    struct Request {
        NativeHandle owner;
        QString verb;
        QString item;
    };
    std::vector<Request> requests;
    bool fail = false;
};

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }

    template <typename T>
    T* child(const char* name) {
        T* widget = window.findChild<T*>(QString::fromLatin1(name));
        if (widget == nullptr) {
            throw std::logic_error(name);
        }
        return widget;
    }
    QLineEdit* text1() { return child<QLineEdit>("Text1"); }
    QLineEdit* text2() { return child<QLineEdit>("Text2"); }
    QPushButton* button(const char* name) { return child<QPushButton>(name); }

    // Clicks go through the window system, as a person's do, so a modal box blocks them.
    QPoint centreOf(QWidget* widget) { return widget->mapTo(&window, widget->rect().center()); }
    void click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(window.windowHandle(), button, {}, centreOf(widget));
    }
    void doubleClick(QWidget* widget) {
        QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, centreOf(widget));
    }

    void type(QWidget* box, const QString& text) {
        // keyClicks cannot deliver Chinese here; commit it the way an input method does.
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(box, &commit);
    }

    // Runs trigger, which is expected to open a modal box; `inspect` sees the box while it is
    // open and then it is closed with its first button. A safety timer closes anything left open
    // so a failing test cannot hang the suite. Returns how many boxes were seen.
    int whileModalOpen(const std::function<void()>& trigger,
                       const std::function<void(QMessageBox&)>& inspect) {
        int seen = 0;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box != nullptr && box->isVisible()) {
                ++seen;
                inspect(*box);
                box->buttons().front()->click();
            }
        });
        QTimer safety;
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                modal->close();
            }
        });
        poll.start();
        safety.start(5000);
        trigger();
        return seen;
    }

    StandInShell shell;
    MainWindow window{shell};
};

TEST_F(WindowTest, StartsWithThePromptFocusedAndAnEmptyAnswer) {
    EXPECT_EQ(window.objectName(), "Talmiro");
    EXPECT_EQ(window.windowTitle(), "Talmiro");
    EXPECT_EQ(text1()->text(), toQString(form::inputPrompt));
    EXPECT_TRUE(text2()->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), text1());
    EXPECT_EQ(QApplication::applicationVersion(), "2.0.0.0");
    EXPECT_EQ(QApplication::applicationName(), "Talmiro");
}

TEST_F(WindowTest, ControlsSitWhereTheFormPutsThemAt96Dpi) {
    if (window.logicalDpiX() != 96) {
        GTEST_SKIP() << "the pixel figures hold at 96 dpi";
    }
    EXPECT_EQ(window.size(), QSize(455, 301));
    const struct {
        const char* name;
        QRect pixels;
    } places[] = {
        {"Label1", {120, 16, 200, 28}},  {"Label2", {0, 248, 177, 17}},
        {"Text1", {16, 64, 257, 25}},    {"Command1", {112, 104, 81, 25}},
        {"Text2", {16, 144, 257, 25}},   {"Label3", {304, 64, 137, 105}},
        {"Command2", {72, 208, 89, 25}}, {"Command3", {200, 208, 89, 25}},
        {"Label4", {296, 272, 145, 17}}, {"Label5", {0, 280, 225, 17}},
    };
    for (const auto& place : places) {
        EXPECT_EQ(child<QWidget>(place.name)->geometry(), place.pixels) << place.name;
    }
}

TEST_F(WindowTest, FontsAreTheChineseFacesAtTheirSizes) {
    const struct {
        const char* name;
        QString family;
        double points;
    } fonts[] = {
        {"Label1", "AR PL UKai CN", 18},  {"Text1", "AR PL UMing CN", 10.5},
        {"Text2", "AR PL UMing CN", 12},  {"Command1", "AR PL UMing CN", 12},
        {"Label3", "AR PL UMing CN", 12},
    };
    for (const auto& font : fonts) {
        const QFontInfo info(child<QWidget>(font.name)->font());
        EXPECT_EQ(info.family(), font.family) << font.name;
        EXPECT_EQ(info.pointSizeF(), font.points) << font.name;
        EXPECT_EQ(info.weight(), QFont::Normal) << font.name;
    }
}

TEST_F(WindowTest, ThePromptIsReadableWholeAndTheNoticeWrapsUnderItsHeading) {
    QLineEdit* box = text1();
    box->deselect();
    box->setCursorPosition(0);
    const QPoint innerRightEdge(box->width() - 3, box->height() / 2);
    EXPECT_EQ(box->cursorPositionAt(innerRightEdge), box->text().size())
        << "the prompt's end is cut off";

    auto* notice = child<QLabel>("Label3");
    QTextLayout layout(notice->text(), notice->font());
    layout.beginLayout();
    QStringList lines;
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(notice->width());
        lines << notice->text().mid(line.textStart(), line.textLength()).trimmed();
        height += line.height();
    }
    layout.endLayout();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines.front(), "声明");
    EXPECT_TRUE(lines[1].startsWith("本软件"));
    EXPECT_LE(height, notice->height());
}

TEST_F(WindowTest, LooksUpOnClickEnterFromEitherBoxAndSpace) {
    const struct {
        const char* how;
        std::function<void()> press;
    } presses[] = {
        {"click", [&] { click(button("Command1")); }},
        {"Enter in Text1", [&] { QTest::keyClick(text1(), Qt::Key_Return); }},
        {"Enter in Text2", [&] { QTest::keyClick(text2(), Qt::Key_Enter); }},
        {"Space on the button",
         [&] {
             button("Command1")->setFocus();
             QTest::keyClick(button("Command1"), Qt::Key_Space);
         }},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(press.how);
        text1()->clear();
        type(text1(), "氯化钠");
        text2()->setText("previous answer");
        press.press();
        EXPECT_EQ(text2()->text(), "NaCl");
        EXPECT_EQ(text1()->text(), "氯化钠");
    }
}

TEST_F(WindowTest, HostileInputIsNotFoundAndLeftAsItIs) {
    const QString megabyte(1 << 20, QChar(u'氯'));
    const struct {
        const char* what;
        QString text;
    } inputs[] = {
        {"a pasted megabyte", megabyte},
        {"U+0000 inside", QString::fromUtf16(u"Na\0Cl", 5)},
        {"lone surrogates", QString::fromUtf16(u"\xD800NaCl\xDC00", 6)},
        {"emoji", QString::fromUtf16(u"NaCl\U0001F600")},
        {"right-to-left", QString::fromUtf16(u"\u202ENaCl\u05D0\u0627")},
        {"combining marks", QString::fromUtf16(u"Na\u0301Cl\u0308")},
        {"control characters", QString::fromUtf16(u"\tNaCl\u0007\u001B\u007F")},
    };
    for (const auto& input : inputs) {
        SCOPED_TRACE(input.what);
        text1()->clear();
        QApplication::clipboard()->setText(input.text);
        QTest::keySequence(text1(), QKeySequence::Paste);
        const QString before = text1()->text();
        if (input.text.size() == megabyte.size()) {
            EXPECT_EQ(before, megabyte) << "the whole text arrives";
        }
        QTest::keyClick(text1(), Qt::Key_Return);
        EXPECT_EQ(text2()->text(), toQString(notFoundMessage));
        EXPECT_EQ(text1()->text(), before);
    }
}

TEST_F(WindowTest, EnterAtStartLooksUpThePromptAndEmptyInputEmptiesTheAnswer) {
    QTest::keyClick(text1(), Qt::Key_Return);
    EXPECT_EQ(text2()->text(), toQString(notFoundMessage));
    text1()->clear();
    QTest::keyClick(text1(), Qt::Key_Return);
    EXPECT_TRUE(text2()->text().isEmpty());
}

TEST_F(WindowTest, EnterOnTheOtherButtonsPressesThemNotTheLookup) {
    text2()->setText("kept");
    button("Command2")->setFocus();
    QTest::keyClick(button("Command2"), Qt::Key_Return);
    EXPECT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(text2()->text(), "kept");

    button("Command3")->setFocus();
    const int boxes = whileModalOpen([&] { QTest::keyClick(button("Command3"), Qt::Key_Return); },
                                     [](QMessageBox&) {});
    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text2()->text(), "kept");

    // Back in a text box, Enter belongs to the lookup button again.
    text1()->setFocus();
    QTest::keyClick(text1(), Qt::Key_Return);
    EXPECT_EQ(text2()->text(), toQString(notFoundMessage));
}

TEST_F(WindowTest, EscapeChangesNothing) {
    type(text1(), "x");
    const QString before = text1()->text();
    QTest::keyClick(text1(), Qt::Key_Escape);
    QTest::keyClick(button("Command1"), Qt::Key_Escape);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(text1()->text(), before);
    EXPECT_TRUE(text2()->text().isEmpty());
}

TEST_F(WindowTest, TabCyclesTheFocusableControlsBothWays) {
    const QStringList forward{"Command1", "Text2", "Command2", "Command3", "Text1"};
    for (const QString& name : forward) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), name);
    }
    for (auto name = forward.rbegin() + 1; name != forward.rend(); ++name) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), *name);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), text1());
    EXPECT_EQ(text1()->text(), toQString(form::inputPrompt)) << "focus alone keeps the text";
}

TEST_F(WindowTest, EveryPrimaryClickInTheInputEmptiesIt) {
    text2()->setText("answer");
    click(text1());
    EXPECT_TRUE(text1()->text().isEmpty());

    type(text1(), "硫酸");
    click(text1(), Qt::RightButton);
    if (QWidget* contextMenu = QApplication::activePopupWidget()) {
        contextMenu->close();
    }
    EXPECT_EQ(text1()->text(), "硫酸") << "only the primary button clicks";

    doubleClick(text1());
    EXPECT_TRUE(text1()->text().isEmpty());
    type(text1(), "硫酸");
    doubleClick(text1());
    EXPECT_TRUE(text1()->text().isEmpty()) << "a double click is two clicks";

    click(text1());
    EXPECT_TRUE(text1()->text().isEmpty());
    EXPECT_EQ(text2()->text(), "answer");
}

TEST_F(WindowTest, HelpIsAModalBoxWithTheHelpTextAndOneChineseOkButton) {
    text1()->setText("NaCl");
    text2()->setText("answer");
    for (int time = 0; time < 2; ++time) {
        const int boxes = whileModalOpen([&] { click(button("Command3")); },
                                         [&](QMessageBox& box) {
                                             EXPECT_EQ(box.windowTitle(), toQString(helpTitle));
                                             EXPECT_EQ(box.text(), toQString(helpText));
                                             EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
                                             ASSERT_EQ(box.buttons().size(), 1);
                                             EXPECT_EQ(box.buttons().front()->text(), "确定");
                                             EXPECT_EQ(box.font(), window.font());
                                             EXPECT_TRUE(box.isModal());
                                             // The window takes no input meanwhile.
                                             click(button("Command1"));
                                             click(text1());
                                             click(button("Command2"));
                                         });
        EXPECT_EQ(boxes, 1);
    }
    EXPECT_EQ(text1()->text(), "NaCl");
    EXPECT_EQ(text2()->text(), "answer");
    EXPECT_TRUE(shell.requests.empty());
}

TEST_F(WindowTest, TheHomePageButtonMakesOneShellRequestPerClick) {
    text1()->setText("NaCl");
    click(button("Command2"));
    click(button("Command2"));
    ASSERT_EQ(shell.requests.size(), 2u);
    for (const auto& request : shell.requests) {
        EXPECT_EQ(request.owner, static_cast<NativeHandle>(window.winId()));
        EXPECT_EQ(request.verb, "Open");
        EXPECT_EQ(request.item, QString::fromLatin1(homePageAddress));
    }
    EXPECT_EQ(text1()->text(), "NaCl");
    EXPECT_TRUE(text2()->text().isEmpty());
}

TEST_F(WindowTest, AnErrorInAHandlerIsReportedInChineseAndTheWindowLivesOn) {
    shell.fail = true;
    const int boxes = whileModalOpen(
        [&] { click(button("Command2")); },
        [](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), toQString(runtimeErrorTitle));
            EXPECT_EQ(box.text(), toQString(runtimeErrorPrefix) + "shell unavailable");
        });
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(window.isVisible());
    click(button("Command1"));
    EXPECT_EQ(text2()->text(), toQString(notFoundMessage));
}

TEST_F(WindowTest, TheIconIsAnOpaqueHeartWithStarsUpperLeft) {
    const QImage icon = window.windowIcon().pixmap(32, 32).toImage();
    ASSERT_EQ(icon.size(), QSize(32, 32));
    int yellowUpperLeft = 0;
    int yellowElsewhere = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QColor c = icon.pixelColor(x, y);
            ASSERT_EQ(c.alpha(), 255) << x << "," << y;
            const bool yellow = c.red() > 200 && c.green() > 170 && c.blue() < 90;
            (x < 16 && y < 16 ? yellowUpperLeft : yellowElsewhere) += yellow ? 1 : 0;
        }
    }
    EXPECT_GT(yellowUpperLeft, 10);
    EXPECT_EQ(yellowElsewhere, 0);
    EXPECT_EQ(icon.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(icon.pixelColor(31, 31), QColor(Qt::white));
    const QColor middle = icon.pixelColor(16, 22);
    EXPECT_GT(middle.red(), 150);
    EXPECT_LT(middle.green(), 60);
}

TEST_F(WindowTest, TextBoxesCanBeToldApartByAssistiveTools) {
    EXPECT_FALSE(text1()->accessibleName().isEmpty());
    EXPECT_FALSE(text2()->accessibleName().isEmpty());
    EXPECT_NE(text1()->accessibleName(), text2()->accessibleName());
    EXPECT_TRUE(button("Command1")->accessibleName().isEmpty());
}

}  // namespace
}  // namespace talmiro::qt

int main(int argc, char** argv) {
    // Test discovery runs this binary too, often where there is no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    talmiro::qt::configureApplication(application);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
