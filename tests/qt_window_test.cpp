// The Qt window under the shared scenarios, on Qt's offscreen platform, and what only it has.
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

#include "tests/window_driver.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_text.h"

namespace talmiro::test {
namespace {

class QtDriver : public WindowDriver {
  public:
    QtDriver() {
        window.show();
        activate();
    }

    void type(std::u16string_view text) override {
        // keyClicks cannot deliver Chinese; an input method commits it like this.
        QInputMethodEvent commit;
        commit.setCommitString(qt::toQString(text));
        QApplication::sendEvent(QApplication::focusWidget(), &commit);
    }
    void paste(std::u16string_view text) override {
        QApplication::clipboard()->setText(qt::toQString(text));
        QTest::keySequence(QApplication::focusWidget(), QKeySequence::Paste);
    }
    void press(Key key) override {
        static constexpr Qt::Key keys[] = {Qt::Key_Return,  Qt::Key_Space,  Qt::Key_Tab,
                                           Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_Left,
                                           Qt::Key_Right,   Qt::Key_Up,     Qt::Key_Down};
        QTest::keyClick(QApplication::focusWidget(), keys[static_cast<int>(key)],
                        key == Key::ShiftTab ? Qt::ShiftModifier : Qt::NoModifier);
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
    std::u16string text(std::string_view textBox) override {
        return qt::toU16(widget<QLineEdit>(textBox)->text());
    }
    std::string focus() override {
        const QWidget* focused = QApplication::focusWidget();
        return focused == nullptr ? "" : focused->objectName().toStdString();
    }
    std::u16string title() override { return qt::toU16(window.windowTitle()); }
    Rect place(std::string_view control) override {
        const QRect r =
            control == form::windowName ? window.rect() : widget<QWidget>(control)->geometry();
        return {r.left(), r.top(), r.width(), r.height()};
    }
    std::vector<form::Rgb> icon() override {
        const QImage image = window.windowIcon().pixmap(32, 32).toImage();
        std::vector<form::Rgb> pixels;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                // A see-through pixel counts as black, which no check of the design accepts.
                const QColor c =
                    image.pixelColor(x, y).alpha() == 255 ? image.pixelColor(x, y) : Qt::black;
                pixels.push_back({static_cast<std::uint8_t>(c.red()),
                                  static_cast<std::uint8_t>(c.green()),
                                  static_cast<std::uint8_t>(c.blue())});
            }
        }
        return pixels;
    }
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
            SeenBox noted{qt::toU16(box->windowTitle()),
                          qt::toU16(box->text()),
                          {},
                          !box->iconPixmap().isNull()};
            for (QAbstractButton* button : box->buttons()) {
                noted.buttons.push_back(qt::toU16(button->text()));
            }
            seen.push_back(noted);
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
        // The program ends when its event loop does; give up on it after a few seconds.
        QTimer::singleShot(0, &window, [this] { window.close(); });
        QTimer::singleShot(5000, &window, [] { QApplication::exit(1); });
        ended_ = QApplication::exec() == 0;
    }
    bool ended() override { return ended_ && !window.isVisible(); }

    template <typename T>
    T* widget(std::string_view name) {
        return window.findChild<T*>(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }

  private:
    // The offscreen platform has no window manager to hand the activation back.
    void activate() {
        QApplication::setActiveWindow(&window);
        (void)QTest::qWaitForWindowActive(&window);
    }

    QPoint point(std::string_view control) {
        if (control == face) {
            return {4, 76};
        }
        const QWidget* target = widget<QWidget>(control);
        return target->mapTo(&window, target->rect().center());
    }

    qt::MainWindow window{shell};
    bool ended_ = false;
};

}  // namespace

std::unique_ptr<WindowDriver> makeDriver() {
    return std::make_unique<QtDriver>();
}

namespace {

TEST(QtWindow, FontsAreTheChineseFacesAtTheirSizes) {
    QtDriver driver;
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
        const QFontInfo info(driver.widget<QWidget>(font.name)->font());
        EXPECT_EQ(info.family(), font.family) << font.name;
        EXPECT_EQ(info.pointSizeF(), font.points) << font.name;
        EXPECT_EQ(info.weight(), QFont::Normal) << font.name;
    }
}

TEST(QtWindow, ThePromptShowsWholeAndTheNoticeHeadingStandsAlone) {
    QtDriver driver;
    auto* box = driver.widget<QLineEdit>("Text1");
    box->setCursorPosition(0);
    EXPECT_EQ(box->cursorPositionAt({box->width() - 3, box->height() / 2}), box->text().size());

    auto* notice = driver.widget<QLabel>("Label3");
    QTextLayout layout(notice->text(), notice->font());
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(notice->width());
        lines << notice->text().mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "声明");
    EXPECT_TRUE(lines[1].startsWith("本软件"));
    EXPECT_LE(lines.size() * QFontMetrics(notice->font()).lineSpacing(), notice->height());
}

}  // namespace
}  // namespace talmiro::test

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
