// From Enter in the input field to the answer painted in the output field, through the real
// window on Qt's offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "ui/qt/application.h"
#include "ui/qt/main_window.h"

namespace {

struct NoShell : talmiro::Shell {
    void open(talmiro::NativeHandle, std::string_view, std::string_view) override {}
};

void enterToAnswerPainted(benchmark::State& state) {
    NoShell shell;
    talmiro::qt::MainWindow window(shell);
    window.show();
    QApplication::processEvents();
    auto* text1 = window.findChild<QLineEdit*>(QStringLiteral("Text1"));
    const QString inputs[] = {QStringLiteral("Fe3O4"), QStringLiteral("四氧化三铁"),
                              QStringLiteral("nacl")};
    std::size_t next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        text1->setText(inputs[next++ % std::size(inputs)]);
        QApplication::processEvents();
        state.ResumeTiming();
        QTest::keyClick(text1, Qt::Key_Return);
        QApplication::processEvents();  // the output field's repaint
    }
}
BENCHMARK(enterToAnswerPainted)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    talmiro::qt::configureApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
