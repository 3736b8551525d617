#include "ui/InfoWindow.h"

#include "ui/InfoPlacement.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTextEdit>
#include <QVBoxLayout>

CInfoToUserDlg::CInfoToUserDlg(const QString& title, InfoFillRoutine fill,
                               QPointer<CInfoToUserDlg>* openerSlot, QWidget* positionReference, QSize size)
    : QDialog(nullptr), reference_(positionReference), openerSlot_(openerSlot) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("InfoToUser"));
    setWindowTitle(title.isEmpty() ? QStringLiteral("Dialog") : title);

    auto* layout = new QVBoxLayout(this);
    text_ = new QTextEdit(this);
    text_->setObjectName(QStringLiteral("InfoText"));
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    text_->setAccessibleName(windowTitle());
    layout->addWidget(text_, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    close_ = new QPushButton(QStringLiteral("Close"), this);
    close_->setObjectName(QStringLiteral("Close"));
    close_->setAccessibleName(QStringLiteral("Close"));
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(close_);
    layout->addLayout(row);

    resize(size);
    PlaceNextToReference();

    if (fill) {
        text_->setUpdatesEnabled(false);
        fill(*text_);
        text_->moveCursor(QTextCursor::Start);
        text_->setUpdatesEnabled(true);
        text_->update();
    }
    if (openerSlot_) {
        *openerSlot_ = this;
    }
}

CInfoToUserDlg::~CInfoToUserDlg() {
    if (openerSlot_ && openerSlot_->data() == this) {
        *openerSlot_ = nullptr;
    }
}

void CInfoToUserDlg::PlaceNextToReference() {
    if (!reference_) {
        return;
    }
    const QPoint origin = reference_->mapToGlobal(QPoint(0, 0));
    SInfoSheetPlace sheet;
    sheet.client = {origin.x(), origin.y(), reference_->width(), reference_->height()};
    const QRect frame = reference_->window()->frameGeometry();
    sheet.frame = {frame.x(), frame.y(), frame.width(), frame.height()};
    if (const QScreen* screen = reference_->screen()) {
        const QRect room = screen->availableGeometry();
        sheet.screen = {room.x(), room.y(), room.width(), room.height()};
    }
    // The sheet's tab column and its buttons stay free for the user's clicks.
    QWidget* window = reference_->window();
    QList<QWidget*> keepClear;
    for (QTabBar* bar : window->findChildren<QTabBar*>()) {
        keepClear << bar;
    }
    for (QDialogButtonBox* buttons : window->findChildren<QDialogButtonBox*>()) {
        keepClear << buttons;
    }
    for (const QWidget* part : keepClear) {
        if (part->isVisible()) {
            const QPoint at = part->mapToGlobal(QPoint(0, 0));
            sheet.keepClear.push_back({at.x(), at.y(), part->width(), part->height()});
        }
    }
    const SInfoRect place = InfoWindowPlace(sheet, width(), height());
    resize(place.width, place.height);
    move(place.left, place.top);
}

void CInfoToUserDlg::BringToFront(bool activate) {
    if (isMinimized()) {
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
    if (!isVisible()) {
        show();
    }
    raise();
    if (activate) {
        activateWindow();
    }
}

CRichAppender::CRichAppender(QTextEdit& text) : cursor_(text.document()) {
    cursor_.movePosition(QTextCursor::End);
    plain_ = cursor_.charFormat();
    plain_.setFontWeight(QFont::Normal);
    plain_.setFontItalic(false);
}

CRichAppender& CRichAppender::Run(const QString& run, bool bold, bool italic, double pointSize) {
    cursor_.movePosition(QTextCursor::End);
    QTextCharFormat format = plain_;
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    if (pointSize > 0) {
        format.setFontPointSize(pointSize);
    }
    cursor_.insertText(run, format);
    return *this;
}

CRichAppender& CRichAppender::Paragraph(double spaceBefore) {
    cursor_.movePosition(QTextCursor::End);
    QTextBlockFormat block;
    block.setTopMargin(spaceBefore);
    cursor_.insertBlock(block, plain_);
    return *this;
}
