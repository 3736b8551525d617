#include "ui/FormStyle.h"

#include <QApplication>
#include <QPalette>
#include <QProxyStyle>
#include <QStyle>
#include <QVariant>
#include <QWidget>

namespace {

// An invalid answer's label and text are red; a pull-down's list keeps the list's own colours.
const QColor kInvalidColour(255, 0, 0);
constexpr QPalette::ColorGroup kColourGroups[] = {QPalette::Active, QPalette::Inactive, QPalette::Disabled};
constexpr QPalette::ColorRole kTextRoles[] = {QPalette::WindowText, QPalette::Text, QPalette::ButtonText};

// Sets every text role of `palette`, in every state, to what `colour` gives for it.
template <typename Colour> void SetTextColours(QPalette& palette, Colour colour) {
    for (const QPalette::ColorGroup group : kColourGroups) {
        for (const QPalette::ColorRole role : kTextRoles) {
            palette.setColor(group, role, colour(group, role));
        }
    }
}

// Dialog buttons without icons, as on Windows. Asking for the first icon reads the system's whole
// icon theme, a large part of the window's start.
class CFormStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_DialogButtonBox_ButtonsHaveIcons) {
            return 0;
        }
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

// The roles a marked widget's text is painted in, in every state.
QPalette::ResolveMask TextRolesMask() {
    QPalette marked;
    SetTextColours(marked, [](QPalette::ColorGroup, QPalette::ColorRole) { return kInvalidColour; });
    return marked.resolveMask();
}

} // namespace

void InstallApplicationStyle() {
    if (!qApp || dynamic_cast<CFormStyle*>(QApplication::style())) {
        return;
    }
    // The proxy takes the toolkit's own style (the system's, or the one the user named) as its base.
    QApplication::setStyle(new CFormStyle(QApplication::style()));
}

void MarkInvalid(QWidget* widget, bool invalid) {
    if (!widget) {
        return;
    }
    const QVariant old = widget->property("invalid");
    if (old.isValid() && old.toBool() == invalid) {
        return;
    }
    widget->setProperty("invalid", invalid);
    // The text roles of the widget's own palette: set red, or given back to what the widget
    // inherits. Its other colours (a read-only box's background) stay as they are.
    QPalette palette = widget->palette();
    if (invalid) {
        SetTextColours(palette, [](QPalette::ColorGroup, QPalette::ColorRole) { return kInvalidColour; });
    } else {
        static const QPalette::ResolveMask textRoles = TextRolesMask();
        palette.setResolveMask(palette.resolveMask() & ~textRoles);
    }
    widget->setPalette(palette);
}

void UseNaturalTextColours(QWidget* widget) {
    const QPalette natural = QApplication::palette(widget);
    QPalette palette = widget->palette();
    SetTextColours(palette, [&](QPalette::ColorGroup group, QPalette::ColorRole role) {
        return natural.color(group, role);
    });
    widget->setPalette(palette);
}
