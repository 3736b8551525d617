#include "ui/FieldControls.h"

#include "model/FieldKinds.h"
#include "model/FieldNames.h"
#include "model/WndWrapper.h"
#include "sheet/PageSuper.h"
#include "ui/FormStyle.h"
#include "ui/QtText.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cstdlib>

namespace {

// Tips are at most this wide: a longer help text wraps within it.
constexpr int kToolTipWidth = 300;

QString ToolTipFor(const std::wstring& help) {
    if (help.empty()) {
        return {};
    }
    const QString text = ToQString(CParameterField::ToolTipText(help));
    const QFontMetrics metrics(QToolTip::font());
    bool fits = true;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        fits = fits && metrics.horizontalAdvance(line) <= kToolTipWidth;
    }
    if (fits) {
        return text;
    }
    return QStringLiteral("<table width=\"%1\"><tr><td>%2</td></tr></table>")
        .arg(kToolTipWidth)
        .arg(Qt::convertFromPlainText(text, Qt::WhiteSpaceNormal));
}

// A pull-down takes the wheel only while it has the keyboard focus, and the wheel never gives it the
// focus: scrolling a long page with the pointer over a pull-down moves the page, not the answer.
class CPulldownCombo : public QComboBox {
public:
    explicit CPulldownCombo(QWidget* parent) : QComboBox(parent) { setFocusPolicy(Qt::StrongFocus); }

    void showPopup() override {
        // The list is made when it is first opened, not with every pull-down of a page. Its choices
        // are painted in the list's own colours: only the control and its label turn red for an
        // invalid answer, not every choice in its list.
        if (!listMade_) {
            listMade_ = true;
            setItemDelegate(new QStyledItemDelegate(this));
            UseNaturalTextColours(view());
        }
        QComboBox::showPopup();
    }

protected:
    void wheelEvent(QWheelEvent* event) override {
        if (!hasFocus()) {
            event->ignore();
            return;
        }
        QComboBox::wheelEvent(event);
    }

private:
    bool listMade_ = false;
};

} // namespace

// ---- CBalloonTip ----

CBalloonTip::CBalloonTip() : QFrame(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("InvalidValueBalloon"));
    setFrameShape(QFrame::Box);
    setAutoFillBackground(true);
    setPalette(QToolTip::palette());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    title_ = new QLabel(this);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    text_ = new QLabel(this);
    text_->setTextFormat(Qt::PlainText);
    text_->setWordWrap(true);
    text_->setMaximumWidth(400);
    layout->addWidget(title_);
    layout->addWidget(text_);
}

void CBalloonTip::ShowBelow(QWidget* anchor, const QString& title, const QString& text) {
    title_->setText(title);
    text_->setText(text);
    // Short hints stay on one line; long ones wrap at a readable width.
    text_->setMinimumWidth(qMin(text_->fontMetrics().horizontalAdvance(text) + 4, 400));
    adjustSize();
    if (anchor) {
        move(anchor->mapToGlobal(QPoint(0, anchor->height())));
    }
    show();
}

QString CBalloonTip::Title() const {
    return title_->text();
}

QString CBalloonTip::Text() const {
    return text_->text();
}

// ---- CQtFieldControl ----

CQtFieldControl::CQtFieldControl(CParameterField& field, QWidget* input, QWidget* parent,
                                 const std::wstring& help)
    : field_(field), input_(input), context_(std::make_unique<QObject>()) {
    const QString name = LabelTextFor(field);
    label_ = new QLabel(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")), parent);
    label_->setBuddy(input);
    input->setObjectName(name);
    input->setAccessibleName(name);
    label_->setObjectName(name + QStringLiteral("_label"));
    help_ = help;
    ShowHelp();
}

CQtFieldControl::~CQtFieldControl() {
    // The widgets are the view's children and go with it; the edits stop reaching the field now.
    context_.reset();
}

QString CQtFieldControl::WithUnit(const QString& text) const {
    if (unitText_.isEmpty()) {
        return text;
    }
    const QString unit = QStringLiteral("Unit: %1").arg(unitText_);
    return text.isEmpty() ? unit : text + QStringLiteral("\n\n") + unit;
}

void CQtFieldControl::ShowHelp() {
    const QString text = WithUnit(ToQString(help_));
    input_->setAccessibleDescription(text);
    const QString tip = ToolTipFor(ToWString(text));
    input_->setToolTip(tip);
    input_->setToolTipDuration(30000);
    label_->setToolTip(tip);
    label_->setToolTipDuration(30000);
}

void CQtFieldControl::SetUnitText(const QString& unit) {
    if (unit == unitText_) {
        return;
    }
    unitText_ = unit;
    if (!unit_ && !unit.isEmpty()) {
        unit_ = new QLabel(input_->parentWidget());
        unit_->setObjectName(input_->objectName() + QStringLiteral("_unit"));
        if (cell_) {
            cell_->addWidget(unit_);
        }
    }
    if (unit_) {
        unit_->setText(unit);
        unit_->setAccessibleName(unit);
        unit_->setEnabled(input_->isEnabled());
        unit_->setVisible(!unit.isEmpty() && input_->isVisibleTo(input_->parentWidget()));
    }
    ShowHelp();
}

void CQtFieldControl::RefreshUnit() {
    SetUnitText(unitSource_ ? ToQString(unitSource_()) : QString());
}

QLayout* CQtFieldControl::InputWithUnit() {
    if (!cell_) {
        cell_ = new QHBoxLayout;
        cell_->addWidget(input_, 1);
        if (unit_) {
            cell_->addWidget(unit_);
        }
    }
    return cell_;
}

QString CQtFieldControl::LabelTextFor(const CParameterField& field) {
    std::wstring name = field.GetPrintableName();
    if (!name.empty() && name.front() == L'$') {
        name.erase(0, 1);
    }
    return ToQString(name);
}

void CQtFieldControl::UpdateColour() {
    const bool invalid = IsShownInvalid(field_);
    MarkInvalid(label_, invalid);
    MarkInvalid(input_, invalid);
}

void CQtFieldControl::ApplyChange(const SSheetChange::SField& change) {
    if (change.choices) {
        ChoicesChanged();
    }
    if (change.value || change.choices) {
        SetControlText(change.field->Value());
    }
    if (change.availability) {
        EnableControl(change.field->IsAvailable() && change.field->IsEnabled());
    }
    UpdateColour();
}

void CQtFieldControl::EnableControl(bool enable) {
    input_->setEnabled(enable);
    label_->setEnabled(enable);
    if (unit_) {
        unit_->setEnabled(enable);
    }
}

void CQtFieldControl::ShowControl(bool show) {
    input_->setVisible(show);
    label_->setVisible(show);
    if (unit_) {
        unit_->setVisible(show && !unitText_.isEmpty());
    }
}

bool CQtFieldControl::IsControlEnabled() const {
    return input_->isEnabled();
}

void CQtFieldControl::ReportEdit(const std::wstring& value) {
    onEdit_(&field_, value);
}

// ---- edit boxes ----

CEditFieldControl::CEditFieldControl(CParameterField& field, QWidget* parent, const std::wstring& help)
    : CQtFieldControl(field, new CEditMultiBase(parent), parent, help) {
    CEditMultiBase* edit = Edit();
    QObject::connect(edit, &QLineEdit::textEdited, Context(), [this](const QString& edited) {
        QString text = edited;
        const bool prefixDropped = Edit()->TidyHexText(text);
        // The answer may close the window that holds this control.
        const QPointer<QObject> alive = Context();
        ReportEdit(ToWString(text));
        if (alive && !prefixDropped) {
            TextChanged();
        }
    });
    QObject::connect(edit, &CEditMultiBase::hexPrefixDropped, Context(), [this] {
        UpdateColour();
        ShowBalloon(
            QStringLiteral("Hexadecimal digits only"),
            QStringLiteral("This box takes the hexadecimal digits without a prefix: type 1F, not 0x1F."));
    });
    QObject::connect(edit, &QLineEdit::textChanged, Context(), [this](const QString&) { TextChanged(); });
    QObject::connect(edit, &CEditMultiBase::focusLost, Context(), [this] { HideBalloon(); });
}

CEditFieldControl::~CEditFieldControl() = default;

void CEditFieldControl::ResetControl() {
    Edit()->SetFilterOn(false);
    Edit()->clear();
}

void CEditFieldControl::SetControlText(const std::wstring& text) {
    const QString q = ToQString(text);
    if (Edit()->text() != q) {
        Edit()->setText(q);
    }
}

std::wstring CEditFieldControl::GetControlText() const {
    return ToWString(Edit()->text());
}

CBalloonTip* CEditFieldControl::Balloon() const {
    return balloon_ && balloon_->isVisible() ? balloon_.get() : nullptr;
}

void CEditFieldControl::HideBalloon() {
    if (balloon_) {
        balloon_->hide();
    }
}

void CEditFieldControl::TextChanged() {
    UpdateColour();
    CWndWrapper* host = field_.Host();
    const bool onActivePage = !host || !host->GetPage() || host->IsActivePage();
    const bool typed = Edit()->HasFocusFlag();
    if (onActivePage && typed && !Edit()->text().isEmpty() && !field_.PassesValidity()) {
        const auto* edit = FieldAs<const CEditField>(&field_);
        // The range alone does not say whether 5 V is typed as 5 or as 5000.
        ShowBalloon(QStringLiteral("Invalid value"), WithUnit(edit ? ToQString(edit->Prompt()) : QString()));
    } else {
        HideBalloon();
    }
}

void CEditFieldControl::ShowBalloon(const QString& title, const QString& text) {
    if (!balloon_) {
        balloon_ = std::make_unique<CBalloonTip>();
    }
    balloon_->ShowBelow(Edit(), title, text);
}

void CNumEditControl::ResetControl() {
    Edit()->SetRadix(10);
    Edit()->SetFilterOn(true);
    Edit()->clear();
}

void CDigitStringEditControl::ResetControl() {
    const auto* digits = FieldAs<const CDigitStringEditField>(&field_);
    const unsigned radix = digits ? digits->Radix() : 10;
    Edit()->SetRadix(radix >= 2 && radix <= 36 ? radix : 10);
    Edit()->SetFilterOn(true);
    Edit()->clear();
}

// ---- pull-downs ----

CPulldownFieldControl::CPulldownFieldControl(CParameterField& field, QWidget* parent,
                                             const std::wstring& help)
    : CQtFieldControl(field, new CPulldownCombo(parent), parent, help) {
    // A pull-down is as wide as its longest choice, never stretched across the page.
    Combo()->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Combo()->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    QObject::connect(Combo(), &QComboBox::activated, Context(), [this](int) {
        const QPointer<QObject> alive = Context();
        ReportEdit(GetControlText());
        if (alive) {
            UpdateColour();
        }
    });
}

QString CPulldownFieldControl::FormatChoice(int value, const std::wstring& label) const {
    return QStringLiteral("%1 : %2").arg(value).arg(ToQString(label));
}

void CPulldownFieldControl::ResetControl() {
    QComboBox* combo = Combo();
    combo->clear();
    combo->addItem(QStringLiteral("<Select>"), QVariant(-1));
    if (const auto* list = FieldAs<const CPulldownListField>(&field_)) {
        for (const COption& option : list->Options()) {
            combo->addItem(FormatChoice(option.first, option.second), QVariant(option.first));
        }
    }
    combo->setCurrentIndex(0);
}

void CPulldownFieldControl::ChoicesChanged() {
    ResetControl();
    SetControlText(field_.Value());
}

void CPulldownFieldControl::SelectValue(long long value) {
    QComboBox* combo = Combo();
    for (int i = 1; i < combo->count(); ++i) {
        if (combo->itemData(i).toLongLong() == value) {
            combo->setCurrentIndex(i);
            return;
        }
    }
    combo->setCurrentIndex(0);
}

void CPulldownFieldControl::SetControlText(const std::wstring& text) {
    if (text.empty()) {
        Combo()->setCurrentIndex(0);
        return;
    }
    bool ok = false;
    const long long value = ToQString(text).toLongLong(&ok, 10);
    if (!ok) {
        Combo()->setCurrentIndex(0);
        return;
    }
    SelectValue(value);
}

std::wstring CPulldownFieldControl::GetControlText() const {
    const int index = Combo()->currentIndex();
    if (index <= 0) {
        return {};
    }
    const unsigned value = static_cast<unsigned>(Combo()->itemData(index).toLongLong());
    return std::to_wstring(value);
}

void CYesNoFieldControl::SetControlText(const std::wstring& text) {
    if (text == L"YES") {
        SelectValue(1);
    } else if (text == L"NO") {
        SelectValue(0);
    } else {
        Combo()->setCurrentIndex(0);
    }
}

std::wstring CYesNoFieldControl::GetControlText() const {
    const std::wstring text = CPulldownFieldControl::GetControlText();
    if (text == L"1") {
        return L"YES";
    }
    if (text == L"0") {
        return L"NO";
    }
    return text;
}

QString CYesNoFieldControl::FormatChoice(int /*value*/, const std::wstring& label) const {
    return ToQString(label);
}

// ---- factory ----

std::unique_ptr<CQtFieldControl> CreateQtFieldControl(CParameterField& field, QWidget* parent,
                                                      const std::wstring& help, std::function<void()> beep,
                                                      CQtFieldControl::EditCallback onEdit) {
    std::unique_ptr<CQtFieldControl> control;
    if (FieldAs<CYesNoPulldownListField>(&field)) {
        control = std::make_unique<CYesNoFieldControl>(field, parent, help);
    } else if (FieldAs<CPulldownListField>(&field)) {
        control = std::make_unique<CPulldownFieldControl>(field, parent, help);
    } else if (FieldAs<CNumEditField>(&field)) {
        control = std::make_unique<CNumEditControl>(field, parent, help);
    } else if (FieldAs<CDigitStringEditField>(&field)) {
        control = std::make_unique<CDigitStringEditControl>(field, parent, help);
    } else {
        auto edit = std::make_unique<CEditFieldControl>(field, parent, help);
        // The two version lines are the program's, not the user's: shown and selectable, never
        // typed. They look read-only (the window's background instead of a box to type in), and the
        // Tab key passes them by, so the keyboard starts on the first answer a user can give.
        if (field.IsFilledByProgram()) {
            QLineEdit* line = edit->Edit();
            line->setReadOnly(true);
            line->setFocusPolicy(Qt::ClickFocus);
            QPalette palette = line->palette();
            palette.setBrush(QPalette::Base, palette.brush(QPalette::Window));
            line->setPalette(palette);
        }
        control = std::move(edit);
    }
    if (auto* edit = dynamic_cast<CEditFieldControl*>(control.get())) {
        edit->Edit()->SetBeep(std::move(beep));
    }
    control->onEdit_ = std::move(onEdit);
    control->ResetControl();
    control->SetControlText(field.Value());
    control->EnableControl(field.IsAvailable() && field.IsEnabled());
    control->UpdateColour();
    return control;
}
