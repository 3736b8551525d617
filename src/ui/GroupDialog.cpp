#include "ui/GroupDialog.h"

#include "catalog/GroupCatalog.h"
#include "model/FieldKinds.h"
#include "model/ParameterField.h"
#include "model/Predicates.h"
#include "sheet/GroupListEditor.h"
#include "sheet/Prompt.h"
#include "ui/FieldControls.h"
#include "ui/FormStyle.h"
#include "ui/ListPanel.h"
#include "ui/PdoChart.h"
#include "ui/QtText.h"
#include "ui/QuestionPane.h"
#include "ui/WindowHooks.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// A group dialog is at least this wide, however short its fields.
constexpr int kMinimumWidth = 440;

// Before a window is first shown its layouts keep the sizes they measured, whatever a control
// asks for since: measure everything again.
void Remeasure(QLayout* layout) {
    if (!layout) {
        return;
    }
    layout->invalidate();
    for (int i = 0; i < layout->count(); ++i) {
        Remeasure(layout->itemAt(i)->layout());
    }
}

// An SVID's mode list as wide as its longest summary line, so every line reads without scrolling
// sideways, but never wider than the screen leaves room for beside the list's buttons.
void FitModeListToLines(CListPanel& modes, QDialog& dialog) {
    QListWidget* list = modes.List();
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int wanted = modes.ContentWidth() + 2 * list->frameWidth() + scrollBar;
    int widest = wanted;
    if (const QScreen* screen = dialog.screen()) {
        // Everything on the dialog's row beside the list: its margins, the buttons and the spacing.
        const int listNow = std::max(list->sizeHint().width(), list->minimumWidth());
        const int besideList = dialog.sizeHint().width() - listNow;
        widest = screen->availableGeometry().width() * 9 / 10 - besideList;
    }
    list->setMinimumWidth(std::max(0, std::min(wanted, widest)));
    Remeasure(modes.layout());
    modes.updateGeometry();
    Remeasure(dialog.layout());
    // The dialog grows to hold the list and its buttons side by side.
    dialog.setMinimumWidth(std::max(kMinimumWidth, dialog.minimumSizeHint().width()));
}

} // namespace

std::unique_ptr<CQtFieldControl> CGroupDialog::MakeControl(CParameterField& field) {
    const CFieldGroup* group = field.Group();
    const EGroupType type = group && group->OwnerList() ? group->OwnerList()->Type() : EGroupType::None;
    const SFieldRow* row = FindGroupFieldRow(type, field.NamePattern());
    std::unique_ptr<CQtFieldControl> control = CreateQtFieldControl(
        field, this, row ? row->help : std::wstring(), [hooks = &hooks_] { hooks->Ring(); },
        [this](CParameterField* edited, const std::wstring& value) { OnEdit(edited, value); });
    if (row) {
        control->SetUnitSource([row, &field] { return ShownUnit(*row, field); });
    }
    return control;
}

CGroupDialog::CGroupDialog(CGroupListEditor& editor, IPrompt& prompt, const CWindowHooks& hooks,
                           QWidget* parent)
    : QDialog(parent), editor_(editor), copy_(*editor.Working()), prompt_(prompt), hooks_(hooks) {
    setObjectName(QStringLiteral("GroupDialog"));
    setWindowModality(Qt::WindowModal);
    setWindowTitle(ToQString(copy_.Caption()));
    InstallApplicationStyle();
    setMinimumWidth(kMinimumWidth);

    auto* column = new QVBoxLayout(this);
    form_ = new QFormLayout;
    form_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form_->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    if (PdoNamesOf(editor_.List().Type())) {
        // A PDO is drawn beside its questions among the list's others, as it will stand after OK.
        auto* beside = new QHBoxLayout;
        beside->addLayout(form_, 1);
        chart_ = new CPdoChart(QString(), this);
        beside->addWidget(chart_);
        column->addLayout(beside);
        // The questions keep the width a dialog without the chart gives them.
        setMinimumWidth(kMinimumWidth + chart_->sizeHint().width());
    } else {
        column->addLayout(form_);
    }
    for (CParameterField* field : copy_.Group().Fields()) {
        field->SetHost(&host_);
        std::unique_ptr<CQtFieldControl> control = MakeControl(*field);
        if (FieldAs<const CNumEditField>(field)) {
            // A number's unit may come and go with other answers (the under-voltage threshold's).
            control->RefreshUnit();
            form_->addRow(control->Label(), control->InputWithUnit());
        } else {
            form_->addRow(control->Label(), control->Input());
        }
        controls_.push_back(std::move(control));
    }
    if (CGroupListEditor* modes = copy_.Modes()) {
        modes->SetForm(editor_.Form());
        modes_ = new CListPanel(
            *modes, prompt_, hooks_,
            [this] {
                copy_.Reevaluate();
                RefreshUnitsAndModes();
            },
            this);
        column->addWidget(modes_, 1);
    }
    if (CMarnelPropertySheet* sheet = editor_.Form()) {
        pane_ = new CQuestionPane(
            *sheet, *this,
            [this](const QWidget* widget) -> const CParameterField* {
                for (const auto& control : controls_) {
                    for (const QWidget* part : {control->Input(), static_cast<QWidget*>(control->Label())}) {
                        if (widget && part && (part == widget || part->isAncestorOf(widget))) {
                            return &control->Field();
                        }
                    }
                }
                return nullptr;
            },
            // A link goes to the item's own question of that name: told in the pane, and focused
            // when it takes answers.
            [this](const std::wstring& name) {
                for (const auto& control : controls_) {
                    if (QuestionWords(control->Field().NamePattern()) == L"`" + name + L"`") {
                        pane_->ShowQuestion(&control->Field());
                        if (control->Input()->isEnabled()) {
                            control->Input()->setFocus(Qt::OtherFocusReason);
                        }
                        return;
                    }
                }
            },
            this);
        column->addWidget(pane_);
    }
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setDefault(true);
    if (pane_) {
        buttons_->addButton(pane_->ToggleButton(), QDialogButtonBox::HelpRole);
    }
    column->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CGroupDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CGroupDialog::reject);

    copy_.Reevaluate();
    RefreshControls();
    copy_.SetObserver(this);
    QWidget* previous = nullptr;
    for (const auto& control : controls_) {
        if (previous) {
            setTabOrder(previous, control->Input());
        }
        previous = control->Input();
    }
}

CGroupDialog::~CGroupDialog() {
    if (pane_) {
        pane_->StopFollowing();
    }
    // After a Cancel the copy may still be open: its fields must no longer reach this window.
    if (editor_.Working() == &copy_) {
        copy_.SetObserver(nullptr);
        for (CParameterField* field : copy_.Group().Fields()) {
            field->SetHost(nullptr);
        }
    }
}

CQtFieldControl* CGroupDialog::ControlOf(const QString& printableName) const {
    if (editor_.Working() != &copy_) {
        return nullptr;
    }
    for (const auto& control : controls_) {
        if (CQtFieldControl::LabelTextFor(control->Field()) == printableName) {
            return control.get();
        }
    }
    return nullptr;
}

CQtFieldControl* CGroupDialog::ControlOf(const CParameterField& field) const {
    if (editor_.Working() != &copy_) {
        return nullptr;
    }
    for (const auto& control : controls_) {
        if (&control->Field() == &field) {
            return control.get();
        }
    }
    return nullptr;
}

void CGroupDialog::OpenAt(const std::vector<int>& item, const std::wstring& question) {
    if (!item.empty()) {
        // A mode's dialog is modal to this one: it opens once this one runs.
        if (modes_) {
            QTimer::singleShot(0, this, [this, item, question] {
                if (isVisible() && editor_.Working() == &copy_) {
                    modes_->EditItemAt(item, question);
                }
            });
        }
        return;
    }
    for (const auto& control : controls_) {
        if (control->Field().NamePattern() != question) {
            continue;
        }
        if (pane_) {
            pane_->ShowQuestion(&control->Field());
        }
        if (!copy_.IsHidden(&control->Field()) && control->Input()->isEnabled()) {
            // Taken when the dialog is shown.
            control->Input()->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
}

void CGroupDialog::OnEdit(CParameterField* field, const std::wstring& value) {
    if (refreshing_ || editor_.Working() != &copy_) {
        return;
    }
    copy_.SetAnswer(field, value);
}

void CGroupDialog::SheetChanged(const SSheetChange& change) {
    if (editor_.Working() != &copy_) {
        return;
    }
    if (pane_) {
        pane_->Refresh();
    }
    refreshing_ = true;
    for (const SSheetChange::SField& f : change.fields) {
        CQtFieldControl* control = ControlOf(*f.field);
        if (!control) {
            continue;
        }
        if (f.availability) {
            form_->setRowVisible(control->Label(), !copy_.IsHidden(f.field));
        }
        control->ApplyChange(f);
    }
    RefreshUnitsAndModes();
    refreshing_ = false;
}

void CGroupDialog::RefreshChart() {
    const SPdoNames* names = PdoNamesOf(editor_.List().Type());
    if (!chart_ || !names) {
        return;
    }
    const CFieldGroupList& list = editor_.List();
    const CFieldGroup* replaced = editor_.Replaced();
    // The list as it will be after OK, the copy standing as null: an Edit's in place of its group,
    // an Add's or an Insert's at the place its number gives it.
    std::vector<const CFieldGroup*> groups;
    for (std::size_t i = 0; i < list.Size(); ++i) {
        groups.push_back(&list.At(i) == replaced ? nullptr : &list.At(i));
    }
    if (!replaced) {
        const std::size_t place = static_cast<std::size_t>(std::max(1, copy_.Group().InstanceNumber()) - 1);
        groups.insert(groups.begin() + static_cast<std::ptrdiff_t>(std::min(place, groups.size())), nullptr);
    }
    std::vector<SPdoAnswers> pdos;
    int selected = -1;
    for (const CFieldGroup* group : groups) {
        const int number = static_cast<int>(pdos.size()) + 1;
        if (group) {
            pdos.push_back(PdoAnswersOf(*names, *group, number));
            continue;
        }
        selected = static_cast<int>(pdos.size());
        pdos.push_back(PdoAnswersOf(*names, copy_.Group(), number));
        pdos.back().valid = copy_.IsValid();
    }
    chart_->SetShapes(PdoShapes(pdos, selected));
}

void CGroupDialog::RefreshUnitsAndModes() {
    RefreshChart();
    for (const auto& control : controls_) {
        control->RefreshUnit();
    }
    if (modes_) {
        modes_->Refresh();
        FitModeListToLines(*modes_, *this);
    }
}

void CGroupDialog::RefreshControls() {
    if (editor_.Working() != &copy_) {
        return;
    }
    refreshing_ = true;
    for (const auto& control : controls_) {
        const CParameterField& field = control->Field();
        control->SetControlText(field.Value());
        control->EnableControl(field.IsAvailable() && field.IsEnabled());
        form_->setRowVisible(control->Label(), !copy_.IsHidden(&field));
        control->UpdateColour();
    }
    RefreshUnitsAndModes();
    refreshing_ = false;
}

void CGroupDialog::accept() {
    if (editor_.Working() != &copy_) {
        return;
    }
    // Text put into a box by other means than typing goes to the copy before the check.
    for (const auto& control : controls_) {
        CParameterField* field = &control->Field();
        const std::wstring text = control->GetControlText();
        if (!copy_.IsHidden(field) && text != field->Value()) {
            copy_.SetAnswer(field, text);
        }
    }
    if (!editor_.Ok()) {
        prompt_.ShowError(editor_.RejectionMessage());
        RefreshControls();
        return;
    }
    QDialog::accept();
}
