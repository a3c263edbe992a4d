// The Qt window under the shared scenarios, on Qt's offscreen platform, and what only it has.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <QTimer>

#include "tests/window_driver.h"
#include "ui/icon.h"
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
#include "ui/qt/notification.h"
#endif
#include "ui/qt/application.h"
#include "ui/qt/icon_image.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"
#include "ui/version_info.h"

namespace talmiro::test {
namespace {

class QtDriver : public WindowDriver {
  public:
    QtDriver() {
        window.show();
        activate();
    }

    void type(std::u16string_view text) override {
        QInputMethodEvent commit;  // how an input method delivers Chinese
        commit.setCommitString(qt::toQString(text));
        QApplication::sendEvent(QApplication::focusWidget(), &commit);
    }
    void paste(std::u16string_view text) override {
        QApplication::clipboard()->setText(qt::toQString(text));
        press({Key::Paste});
    }
    void press(const std::vector<Key>& keys) override {
        static constexpr Qt::Key qtKeys[] = {Qt::Key_Return,  Qt::Key_Space,  Qt::Key_Tab,
                                             Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_Left,
                                             Qt::Key_Right,   Qt::Key_Up,     Qt::Key_Down,
                                             Qt::Key_V,       Qt::Key_Z};
        for (Key key : keys) {
            QTest::keyClick(QApplication::focusWidget(), qtKeys[static_cast<int>(key)],
                            key == Key::ShiftTab                    ? Qt::ShiftModifier
                            : key == Key::Paste || key == Key::Undo ? Qt::ControlModifier
                                                                    : Qt::NoModifier);
        }
    }
    void click(std::string_view control) override {
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, point(control));
    }
    void doubleClick(std::string_view control) override {
        QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, point(control));
    }
    void drag(std::string_view from, std::string_view to) override {
        QTest::mousePress(window.windowHandle(), Qt::LeftButton, {}, point(from));
        QTest::mouseMove(window.windowHandle(), point(to));
        QTest::mouseRelease(window.windowHandle(), Qt::LeftButton, {}, point(to));
    }
    void setText(std::string_view textBox, std::u16string_view text) override {
        widget<QLineEdit>(textBox)->setText(qt::toQString(text));
    }
    std::u16string text(std::string_view control) override {
        return qt::toU16(control == form::windowName ? window.windowTitle()
                                                     : widget<QLineEdit>(control)->text());
    }
    std::string focus() override {
        const QWidget* focused = QApplication::focusWidget();
        return focused == nullptr ? "" : focused->objectName().toStdString();
    }
    Rect place(std::string_view control) override {
        const QWidget* shown = widget<QWidget>(control);
        const QRect r = shown->isWindow() ? shown->rect() : shown->geometry();
        return {r.left(), r.top(), r.width(), r.height()};
    }
    int dpi() override { return window.logicalDpiX(); }
    Font font(std::string_view control) override {
        const QFont font = widget<QWidget>(control)->font();
        return {qt::toU16(font.family()),
                static_cast<int>(std::lround(font.pointSizeF() * dpi() / 72))};
    }
    bool showsWholeText(std::string_view textBox) override {
        auto* box = widget<QLineEdit>(textBox);
        box->setCursorPosition(0);
        return box->cursorPositionAt({box->width() - 3, box->height() / 2}) == box->text().size();
    }
    std::vector<form::Rgb> icon() override {
        const QImage image = window.windowIcon().pixmap(32, 32).toImage();
        std::vector<form::Rgb> pixels;
        for (int i = 0; i < image.width() * image.height(); ++i) {
            const QColor c = image.pixelColor(i % image.width(), i / image.width());
            const int shown = c.alpha() == 255 ? c.rgb() : 0;
            pixels.push_back({static_cast<std::uint8_t>(qRed(shown)),
                              static_cast<std::uint8_t>(qGreen(shown)),
                              static_cast<std::uint8_t>(qBlue(shown))});
        }
        return pixels;
    }
    Accessible accessible(std::string_view control) override {
        QAccessibleInterface* seen =
            QAccessible::queryAccessibleInterface(widget<QWidget>(control));
        return {qt::toU16(seen->text(QAccessible::Name)),
                qt::toU16(seen->text(QAccessible::Description)),
                qt::toU16(seen->text(QAccessible::Value)), static_cast<int>(seen->role())};
    }
    // Qt tells screen readers nothing on the offscreen platform: what Orca speaks and brailles
    // of this window is checked with Orca itself (orca_speaks.sh).
    std::optional<std::vector<std::u16string>> announced() override { return std::nullopt; }
    NativeHandle handle() override { return static_cast<NativeHandle>(window.winId()); }
    bool takesInput() override { return QGuiApplication::modalWindow() == nullptr; }

    std::vector<SeenBox> boxesDuring(const std::function<void()>& action,
                                     const std::function<void()>& whileOpen) override {
        std::vector<SeenBox> seen;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) {
                return;
            }
            seen.push_back({qt::toU16(box->windowTitle()),
                            qt::toU16(box->text()),
                            {},
                            !box->iconPixmap().isNull()});
            for (QAbstractButton* button : box->buttons()) {
                seen.back().buttons.push_back(qt::toU16(button->text()));
            }
            if (whileOpen) {
                whileOpen();
            }
            box->buttons().front()->click();
        });
        poll.start(10);
        action();
        if (!seen.empty()) {
            activate();
        }
        return seen;
    }

    void close() override {
        // The program ends when its event loop does; the test gives up on it after 5 s.
        QTimer::singleShot(0, &window, [this] { window.close(); });
        QTimer::singleShot(5000, &window, [] { QApplication::exit(1); });
        ended_ = QApplication::exec() == 0;
    }
    bool ended() override { return ended_ && !window.isVisible(); }

    template <typename T>
    T* widget(std::string_view name) {
        const QString objectName = QString::fromLatin1(name.data(), name.size());
        return window.objectName() == objectName ? qobject_cast<T*>(&window)
                                                 : window.findChild<T*>(objectName);
    }

  private:
    void activate() {  // the offscreen platform has no window manager to do it
        window.activateWindow();
        (void)QTest::qWaitForWindowActive(&window);
    }
    QPoint point(std::string_view control) {
        const QWidget* target = widget<QWidget>(control);
        return control == face ? QPoint(4, 76) : target->mapTo(&window, target->rect().center());
    }

    qt::MainWindow window{shell};
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<WindowDriver> makeDriver() {
    return std::make_unique<QtDriver>();
}

namespace {

// What a screen reader's commands do to a box (Orca's checks only read): one selection, set and
// read back and removed.
TEST(QtWindow, ScreenReadersSelectInTheBoxItself) {
    QtDriver driver;
    auto* box = driver.widget<QLineEdit>("Text1");
    box->setText(QStringLiteral("NaCl"));
    QAccessibleInterface* object = QAccessible::queryAccessibleInterface(box);
    QAccessibleTextInterface* text = object->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(object->state().editable && object->state().selectableText);
    text->setSelection(0, 1, 3);
    text->setSelection(1, 0, 4);
    int start = -1;
    int end = -1;
    text->selection(0, &start, &end);
    EXPECT_TRUE(box->selectedText() == "aC" && text->selectionCount() == 1 && start == 1 &&
                end == 3);
    text->selection(1, &start, &end);
    EXPECT_TRUE(start == 0 && end == 0) << "a box has one selection";
    text->removeSelection(0);
    EXPECT_FALSE(box->hasSelectedText());
    text->addSelection(0, 2);
    EXPECT_EQ(box->selectedText(), "Na") << "an added selection is the box's one";
}

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// The child that has Orca speak each answer is a notification by its type, already when it joins
// the window, where a screen reader first hears of it; no widget is one by its name.
TEST(QtWindow, TheAnnouncementIsANotificationByItsTypeFromTheStart) {
    struct FirstLook : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::ChildAdded) {
                QObject* child = static_cast<QChildEvent*>(event)->child();
                roles.push_back(QAccessible::queryAccessibleInterface(child)->role());
            }
            return false;
        }
        std::vector<QAccessible::Role> roles;
    } look;
    QWidget window;
    window.installEventFilter(&look);
    new qt::Announcement(window);
    EXPECT_EQ(look.roles, std::vector{QAccessible::Notification});
    QWidget named;
    named.setObjectName(QStringLiteral("announcement"));
    EXPECT_NE(QAccessible::queryAccessibleInterface(&named)->role(), QAccessible::Notification);
}
#endif

// Dictation and braille keyboards edit through the box's interface: only ranges within the text
// change it (an end past the text stands for its end), what is inserted keeps to the paste rule,
// and one undo takes each edit back.
TEST(QtWindow, ScreenReadersEditOnlyWithinTheTextAndOneUndoTakesItBack) {
    QtDriver driver;
    auto* box = driver.widget<QLineEdit>("Text1");
    QAccessibleEditableTextInterface* editable =
        QAccessible::queryAccessibleInterface(box)->editableTextInterface();
    ASSERT_NE(editable, nullptr);
    const QString full(32763, u'O');
    const QString emoji = QString::fromUtf16(u"\U0001F600");
    const struct {
        std::function<void()> edit;
        QString after;
    } edits[] = {
        {[&] { editable->deleteText(1, 3); }, "Nl"},
        {[&] { editable->deleteText(2, 10); }, "Na"},
        {[&] { editable->deleteText(1, 1); }, "NaCl"},
        {[&] { editable->deleteText(3, 1); }, "NaCl"},
        {[&] { editable->deleteText(-1, 2); }, "NaCl"},
        {[&] { editable->deleteText(10, 12); }, "NaCl"},
        {[&] { editable->replaceText(1, 3, "K"); }, "NKl"},
        {[&] { editable->replaceText(2, 9, "X"); }, "NaX"},
        {[&] { editable->replaceText(2, 2, "X"); }, "NaXCl"},
        {[&] { editable->replaceText(3, 1, "X"); }, "NaCl"},
        {[&] { editable->replaceText(-1, 1, "X"); }, "NaCl"},
        {[&] { editable->replaceText(9, 9, "X"); }, "NaCl"},
        {[&] { editable->insertText(0, "X"); }, "XNaCl"},
        {[&] { editable->insertText(4, "X"); }, "NaClX"},
        {[&] { editable->insertText(9, "X"); }, "NaCl"},
        {[&] { editable->insertText(-1, "X"); }, "NaCl"},
        {[&] { editable->insertText(2, "O\nH"); }, "NaOCl"},
        {[&] { editable->insertText(0, full.left(32762) + emoji); }, full.left(32762) + "NaCl"},
    };
    for (const auto& [edit, after] : edits) {
        box->setText(QStringLiteral("NaCl"));
        box->setCursorPosition(2);
        edit();
        EXPECT_EQ(box->text(), after);
        box->undo();
        EXPECT_EQ(box->text(), "NaCl") << after.toStdString();
    }
}

// Each character's rectangle lies on its glyph, within the box; the first starts where the ink
// does, and the point at the centre of each names that character again (Magnifier, mouse review).
TEST(QtWindow, ScreenReadersFindEachCharacterOnItsGlyphAtTheScreensDpi) {
    QtDriver driver;
    for (const char* name : {"Text1", "Text2"}) {
        SCOPED_TRACE(name);
        auto* box = driver.widget<QLineEdit>(name);
        box->setText(QStringLiteral("MWHM Fe3O4 氯化钠"));
        QAccessibleTextInterface* text =
            QAccessible::queryAccessibleInterface(box)->textInterface();
        const QRect inside(box->mapToGlobal(box->contentsRect().topLeft()),
                           box->contentsRect().size());
        for (int offset = 0; offset < text->characterCount(); ++offset) {
            const QRect character = text->characterRect(offset);
            EXPECT_TRUE(inside.contains(character)) << offset;
            EXPECT_EQ(text->offsetAtPoint(character.center()), offset);
        }
        EXPECT_TRUE(text->characterRect(-1).isEmpty() &&
                    text->characterRect(text->characterCount()).isEmpty());

        const QImage drawn = box->grab().toImage();
        const qreal scale = drawn.devicePixelRatio();
        const QRect first = text->characterRect(0).translated(-box->mapToGlobal(QPoint()));
        const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
        int ink = drawn.width();
        for (int y = qRound(first.top() * scale); y < qRound(first.bottom() * scale); ++y) {
            for (int x = qRound(frame * scale); x < ink; ++x) {
                if (qGray(drawn.pixel(x, y)) < 128) {
                    ink = x;
                }
            }
        }
        const qreal bearing = ink / scale - first.left();  // of 'M', less than 2 px
        EXPECT_TRUE(bearing >= 0 && bearing < 2)
            << "the first ink at " << ink / scale << ", the first character from " << first.left();
    }
}

// Compares what the window shows with tests/reference/NAME.png, pixel for pixel: the faces are
// Debian's, pinned by the release, so the same build draws the same pixels. Where a Qt version
// draws its own parts differently (a menu's frame), tests/reference/qtMAJOR.MINOR/NAME.png is that
// version's picture. With TALMIRO_UPDATE_REFERENCES set it writes the reference instead. A
// mismatch leaves NAME.png and NAME.diff.png (differing pixels red on a faded reference) in the
// working folder.
void expectDrawnAsReference(const QImage& drawn, const QString& name) {
    const QImage actual = drawn.convertToFormat(QImage::Format_RGB32);
    const QString forThisQt = QStringLiteral(TALMIRO_REFERENCE_DIR "/qt%1.%2/%3.png")
                                  .arg(QT_VERSION_MAJOR)
                                  .arg(QT_VERSION_MINOR)
                                  .arg(name);
    const QString referencePath = QFile::exists(forThisQt)
                                      ? forThisQt
                                      : QStringLiteral(TALMIRO_REFERENCE_DIR "/") + name + ".png";
    if (qEnvironmentVariableIsSet("TALMIRO_UPDATE_REFERENCES")) {
        ASSERT_TRUE(actual.save(referencePath)) << referencePath.toStdString();
        return;
    }
    const QImage reference = QImage(referencePath).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(reference.isNull()) << "no reference " << referencePath.toStdString();
    QImage diff = reference;
    int differing = 0;
    for (int y = 0; y < diff.height(); ++y) {
        for (int x = 0; x < diff.width(); ++x) {
            const QRgb expected = reference.pixel(x, y);
            if (actual.valid(x, y) && actual.pixel(x, y) == expected) {
                const int faded = 192 + qGray(expected) / 4;
                diff.setPixel(x, y, qRgb(faded, faded, faded));
            } else {
                diff.setPixel(x, y, qRgb(255, 0, 0));
                ++differing;
            }
        }
    }
    if (differing == 0 && actual.size() == reference.size()) {
        return;
    }
    actual.save(name + ".png");
    diff.save(name + ".diff.png");
    ADD_FAILURE() << name.toStdString() << ": " << differing << " pixels differ, drawn "
                  << actual.width() << "x" << actual.height() << " against " << reference.width()
                  << "x" << reference.height() << "; see " << name.toStdString() << ".png and "
                  << name.toStdString() << ".diff.png in " << QDir::currentPath().toStdString();
}

// The icons pixel for pixel: the window's own, in its 256 colours, and the full-colour ones the
// desktop's icon theme gets at each size it installs.
TEST(Icon, IsDrawnAsItsReferencePicturesAtEverySize) {
    expectDrawnAsReference(qt::imageOf(windowIcon()), QStringLiteral("window_icon"));
    for (const int size : version::desktopIconSizes) {
        expectDrawnAsReference(qt::imageOf(paintIcon(size), size),
                               QStringLiteral("icon_%1").arg(size));
    }
}

QString screenDpi(const QWidget& shown) {
    return QString::number(qRound(96 * shown.devicePixelRatioF())) + "dpi";
}

// At the screen's dpi: 96 in the suite, 144 in its high-dpi run (tests/offscreen_144dpi.json).
// The help box is Qt's, in the desktop's font and with Qt's Chinese OK.
TEST(QtWindow, IsDrawnAsItsReferencePicturesAtTheScreensDpi) {
    QApplication::setCursorFlashTime(0);  // a steady caret, the same in every picture
    QtDriver driver;
    auto* window = driver.widget<QWidget>(form::windowName);
    const QString dpi = screenDpi(*window);
    expectDrawnAsReference(window->grab().toImage(), "opened_at_" + dpi);
    driver.type(u"Fe3O4");
    driver.press({Key::Enter});
    ASSERT_EQ(driver.text("Text2"), u"四氧化三铁");
    expectDrawnAsReference(window->grab().toImage(), "looked_up_at_" + dpi);
    const auto seen = driver.boxesDuring(
        [&] { driver.click("Command3"); },
        [&] {
            expectDrawnAsReference(QApplication::activeModalWidget()->grab().toImage(),
                                   "help_at_" + dpi);
        });
    EXPECT_EQ(seen.size(), 1U);
}

// An input box's menu is Qt's own edit commands, in Chinese and the desktop's font like any
// other menu. Each box is a test of its own, in a process of its own, so that neither finds
// the Chinese texts already loaded by the other.
class QtInputMenu : public ::testing::TestWithParam<const char*> {};

TEST_P(QtInputMenu, IsQtsEditMenuInChineseAtTheScreensDpi) {
    QtDriver driver;
    auto* box = driver.widget<QLineEdit>(GetParam());
    box->setText(QStringLiteral("Fe3O4"));  // what the menu offers, the same in any process
    box->selectAll();
    QApplication::clipboard()->setText(QStringLiteral("NaCl"));
    const QPoint middle = box->rect().center();
    QContextMenuEvent byMenuKey(QContextMenuEvent::Keyboard, middle, box->mapToGlobal(middle));
    QApplication::sendEvent(box, &byMenuKey);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    expectDrawnAsReference(menu->grab().toImage(), "edit_menu_at_" + screenDpi(*box));
    menu->close();
}

INSTANTIATE_TEST_SUITE_P(EachBox, QtInputMenu, ::testing::Values("Text1", "Text2"));

TEST(QtWindow, PaintsFacesNoticeAndTitleAsDesigned) {
    QtDriver driver;
    EXPECT_EQ(QFontInfo(driver.widget<QLineEdit>("Text1")->font()).family(), "AR PL UMing CN");
    EXPECT_EQ(QFontInfo(driver.widget<QLabel>("Label1")->font()).family(), "AR PL UKai CN");

    // Red ink as drawn: the heading alone, indented, on the first line; the sentence below
    // it down to the sixth.
    auto* notice = driver.widget<QLabel>("Label3");
    const QImage shown = notice->grab().toImage();
    const int line = QFontMetrics(notice->font()).lineSpacing();
    const auto inkIn = [&](int left, int top, int right, int bottom) {
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const QRgb pixel = shown.pixel(x, y);
                if (qRed(pixel) > 150 && qGreen(pixel) < 100) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_FALSE(inkIn(0, 0, 30, line)) << "indented";
    EXPECT_TRUE(inkIn(30, 0, 80, line)) << "声明";
    EXPECT_FALSE(inkIn(80, 0, shown.width(), line)) << "nothing beside it";
    EXPECT_TRUE(inkIn(0, 5 * line, shown.width(), shown.height())) << "the sentence's last line";

    const QWidget* title = driver.widget<QLabel>("Label1");
    const QImage window = driver.widget<QWidget>(form::windowName)->grab().toImage();
    EXPECT_EQ(window.pixelColor(title->geometry().topLeft() + QPoint(1, 1)),
              QApplication::palette().color(QPalette::Base))
        << "the title on the window-background colour";
}

}  // namespace
}  // namespace talmiro::test

int main(int argc, char** argv) {
    // Test discovery runs this binary too, often where there is no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The pictures are Debian's fonts as the system sets them up, whatever the user has set for
    // fontconfig (sub-pixel order, hinting): their files are looked for in an empty home.
    qputenv("FONTCONFIG_FILE", "/etc/fonts/fonts.conf");
    qputenv("HOME", TALMIRO_EMPTY_HOME);
    qputenv("XDG_CONFIG_HOME", TALMIRO_EMPTY_HOME);
    QApplication application(argc, argv);
    talmiro::qt::configureApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
