// The yardstick for the window's cold start: the least a Qt Widgets program does to show a tabbed
// window (one tab holding a label). With ORVIK_QUIT_WHEN_SHOWN set it says when its first frame is
// on the screen and ends, as orvik-generator does, so that scripts/startup-bench.sh times both the
// same way.
#include "QuitWhenShown.h"

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

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const char* quit = std::getenv("ORVIK_QUIT_WHEN_SHOWN");
    if (quit && *quit) {
        app.installEventFilter(new CQuitWhenShown(&app));
    }
    QTabWidget tabs;
    tabs.addTab(new QLabel(QStringLiteral("A page")), QStringLiteral("Intro"));
    tabs.resize(1000, 700);
    tabs.show();
    return app.exec();
}
