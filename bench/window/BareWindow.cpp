// The yardstick for the window's cold start: the least a Qt Widgets program does to show a tabbed
// window (one tab holding a label). With ORVIK_QUIT_WHEN_SHOWN set it says when its first frame is
// on the screen and ends, as orvik-generator does, so that scripts/startup-bench.sh times both the
// same way.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QTabWidget>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

class CQuitWhenExposed : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!done_ && event->type() == QEvent::Expose) {
            auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isExposed()) {
                done_ = true;
                // After the expose is handled, that is once the frame is painted and flushed: the
                // moment (microseconds since the epoch) goes to standard output for the benchmark.
                QTimer::singleShot(0, qApp, [] {
                    const auto now = std::chrono::system_clock::now().time_since_epoch();
                    const auto us = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
                    std::fputs(("shown " + std::to_string(us) + "\n").c_str(), stdout);
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                });
            }
        }
        return false;
    }

private:
    bool done_ = false;
};

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const char* quit = std::getenv("ORVIK_QUIT_WHEN_SHOWN");
    if (quit && *quit) {
        app.installEventFilter(new CQuitWhenExposed(&app));
    }
    QTabWidget tabs;
    tabs.addTab(new QLabel(QStringLiteral("A page")), QStringLiteral("Intro"));
    tabs.resize(1000, 700);
    tabs.show();
    return app.exec();
}
