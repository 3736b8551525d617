#include "ui/SheetTabs.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyleOptionFocusRect>
#include <QStyleOptionTab>
#include <QStylePainter>

#include <algorithm>

CSheetTabBar::CSheetTabBar(QWidget* parent) : QTabBar(parent) {
    setObjectName(QStringLiteral("SheetTabBar"));
    setShape(QTabBar::RoundedWest);
    // Every caption whole and every tab in the column: the bar asks for the room they need.
    setElideMode(Qt::ElideNone);
    setUsesScrollButtons(false);
    setExpanding(false);
    setDrawBase(false);
}

void CSheetTabBar::SetAllCaptions(QStringList captions) {
    allCaptions_ = std::move(captions);
    widestCaption_ = -1;
    sizes_.clear();
    updateGeometry();
}

int CSheetTabBar::CaptionMargin() const {
    return std::max(5, style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, this) / 2);
}

QSize CSheetTabBar::tabSizeHint(int index) const {
    // The style may draw the first, the last and the current tab differently.
    const QChar place = index == 0 ? u'F' : (index == count() - 1 ? u'L' : u'M');
    const QString key = tabText(index) + place + (index == currentIndex() ? u'C' : u'-');
    if (const auto known = sizes_.constFind(key); known != sizes_.cend()) {
        return *known;
    }
    // The bar measures a side tab for a caption written along the side; turned, that is the
    // size of one written across, to which the style has already added its frame.
    QSize size = QTabBar::tabSizeHint(index).transposed();
    const QFontMetrics metrics = fontMetrics();
    const QSize caption = metrics.size(Qt::TextShowMnemonic, tabText(index));
    if (widestCaption_ < 0) {
        widestCaption_ = 0;
        for (const QString& text : allCaptions_) {
            widestCaption_ = std::max(widestCaption_, metrics.size(Qt::TextShowMnemonic, text).width());
        }
    }
    // What the style adds round a caption is the same for every tab.
    const int frame = std::max(size.width() - caption.width(), 2 * CaptionMargin());
    size.setWidth(std::max({size.width(), caption.width() + 2 * CaptionMargin(), widestCaption_ + frame}));
    size.setHeight(std::max(size.height(), caption.height() + 8));
    sizes_.insert(key, size);
    return size;
}

void CSheetTabBar::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        sizes_.clear();
        widestCaption_ = -1;
    }
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange) {
        shapes_.clear();
    }
    QTabBar::changeEvent(event);
}

QSize CSheetTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

QRect CSheetTabBar::CaptionRect(int index) const {
    const int margin = CaptionMargin();
    return tabRect(index).adjusted(margin, 0, -margin, 0);
}

void CSheetTabBar::PaintTabShape(QPainter& painter, const QStyleOptionTab& option) {
    constexpr QStyle::State kShapeStates =
        QStyle::State_Selected | QStyle::State_Enabled | QStyle::State_Active | QStyle::State_MouseOver |
        QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange | QStyle::State_Sunken;
    const qreal ratio = devicePixelRatio();
    const QString key = QStringLiteral("%1x%2 %3 %4 %5 %6 %7 %8 %9")
                            .arg(option.rect.width())
                            .arg(option.rect.height())
                            .arg(static_cast<int>(option.state & kShapeStates))
                            .arg(static_cast<int>(option.position))
                            .arg(static_cast<int>(option.selectedPosition))
                            .arg(static_cast<int>(option.shape))
                            .arg(static_cast<int>(option.features))
                            .arg(static_cast<int>(option.direction))
                            .arg(ratio);
    auto shape = shapes_.constFind(key);
    if (shape == shapes_.cend()) {
        if (shapes_.size() > 64) {
            shapes_.clear();
        }
        // The style may draw a little beyond the tab's rectangle (its frame, the overlap with the
        // next tab): the picture has room for that all round.
        const QSize size = option.rect.size() + QSize(2 * kShapeMargin, 2 * kShapeMargin);
        QPixmap picture(size * ratio);
        picture.setDevicePixelRatio(ratio);
        picture.fill(Qt::transparent);
        QPainter shapePainter(&picture);
        QStyleOptionTab placed = option;
        placed.rect.moveTopLeft(QPoint(kShapeMargin, kShapeMargin));
        style()->drawControl(QStyle::CE_TabBarTabShape, &placed, &shapePainter, this);
        shapePainter.end();
        shape = shapes_.insert(key, picture);
    }
    painter.drawPixmap(option.rect.topLeft() - QPoint(kShapeMargin, kShapeMargin), *shape);
}

void CSheetTabBar::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    const auto paintTab = [&](int index) {
        QStyleOptionTab option;
        initStyleOption(&option, index);
        PaintTabShape(painter, option);
        // The option's palette carries the tab's own text colour (red for a page that is not
        // valid) as the bar's foreground.
        constexpr int kAlignment = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
        const QRect caption = CaptionRect(index);
        const bool enabled = option.state & QStyle::State_Enabled;
        painter.drawItemText(caption, kAlignment, option.palette, enabled, tabText(index), foregroundRole());
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.rect = style()->itemTextRect(fontMetrics(), caption, kAlignment, enabled, tabText(index));
            focus.rect.adjust(-3, -1, 3, 1);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    };
    // The current tab last, so that its shape lies over its neighbours' as the style draws it.
    const int current = currentIndex();
    for (int i = 0; i < count(); ++i) {
        if (i != current) {
            paintTab(i);
        }
    }
    if (current >= 0) {
        paintTab(current);
    }
}

void CSheetTabBar::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // The bar moves back with Left (Right when written right to left).
        const bool back = event->key() == Qt::Key_Up;
        QKeyEvent across(event->type(), back != isRightToLeft() ? Qt::Key_Left : Qt::Key_Right,
                         event->modifiers(), event->text(), event->isAutoRepeat(), event->count());
        QTabBar::keyPressEvent(&across);
        event->setAccepted(across.isAccepted());
        return;
    }
    QTabBar::keyPressEvent(event);
}

CSheetTabs::CSheetTabs(QWidget* parent) : QTabWidget(parent), bar_(new CSheetTabBar(this)) {
    setTabBar(bar_);
    setTabPosition(QTabWidget::West);
    setElideMode(Qt::ElideNone);
    setUsesScrollButtons(false);
}
