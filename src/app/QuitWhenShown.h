#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <string>

// ORVIK_QUIT_WHEN_SHOWN: once the first frame of the first window is on the screen, the run says
// when on standard output and ends as a closed window ends it. The start-up benchmark times the
// program's cold start with it.
class CQuitWhenShown : public QObject {
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
