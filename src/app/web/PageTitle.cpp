#include "PageTitle.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <emscripten/val.h>

namespace {

class CPageTitle : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowTitleChange || event->type() == QEvent::WindowActivate ||
            event->type() == QEvent::Show) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->isWindow() && !widget->windowTitle().isEmpty() &&
                (widget->parentWidget() == nullptr)) {
                emscripten::val::global("document").set("title", widget->windowTitle().toStdString());
            }
        }
        return false;
    }
};

} // namespace

void FollowWindowTitleInPage(QApplication& app) {
    app.installEventFilter(new CPageTitle(&app));
}
