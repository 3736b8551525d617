#pragma once

#include <QHash>
#include <QPixmap>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>

class QPainter;
class QStyleOptionTab;

// The sheet's tabs in one column on the left of the pages, each caption written across on one line.
// Up to seventeen pages do not fit in one row: a row scrolls, and a red caption scrolled out of sight
// is a problem nobody sees. A column of one-line captions shows every tab at once on a small screen,
// in the sheet's order, and is still a tab bar for the keyboard and for assistive tools.
class CSheetTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit CSheetTabBar(QWidget* parent = nullptr);

    // Every caption the form can show, present or not: the column is as wide as the widest of
    // them, so a tab that comes or goes never moves the page under the pointer.
    void SetAllCaptions(QStringList captions);

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Up and Down move through the column as Left and Right do.
    void keyPressEvent(QKeyEvent* event) override;

private:
    int CaptionMargin() const;
    // The rectangle the caption of tab `index` is written in.
    QRect CaptionRect(int index) const;
    // Draws the style's shape of a tab. A turned tab's rounded, shaded outline is slow to draw, and
    // most tabs of the column look alike: each look is drawn once into a picture and copied.
    void PaintTabShape(QPainter& painter, const QStyleOptionTab& option);

    // The bar asks for every tab's size many times per layout, and measuring a caption shapes its
    // text: each size is measured once per caption and place in the column, until the font or the
    // style changes.
    mutable QHash<QString, QSize> sizes_;
    QStringList allCaptions_;
    // The widest of allCaptions_, measured once per font; -1 until measured.
    mutable int widestCaption_ = -1;
    // The tabs' shapes drawn so far, by size, state and place, until the style or the colours
    // change. The shape has no caption, so the caption's colour is not part of it.
    QHash<QString, QPixmap> shapes_;
    static constexpr int kShapeMargin = 8;
};

// A tab widget with the sheet's tab column.
class CSheetTabs : public QTabWidget {
    Q_OBJECT
public:
    explicit CSheetTabs(QWidget* parent = nullptr);

    CSheetTabBar* SheetTabBar() const { return bar_; }

private:
    CSheetTabBar* bar_;
};
