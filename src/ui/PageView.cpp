#include "ui/PageView.h"

#include "catalog/PageCatalog.h"
#include "model/FieldKinds.h"
#include "sheet/PropertySheet.h"
#include "sheet/SheetHistory.h"
#include "ui/FieldControls.h"
#include "ui/WindowHooks.h"

#include <QFormLayout>
#include <QScrollArea>
#include <QVBoxLayout>

#include <utility>
#include <vector>

CPageView::CPageView(CPageSuper& page, std::function<void(CParameterField*, const std::wstring&)> onEdit,
                     const CWindowHooks& hooks, QWidget* parent)
    : QWidget(parent), page_(page), onEdit_(std::move(onEdit)), hooks_(hooks) {
    setObjectName(QString::fromStdWString(page.SectionCaption()));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
}

CPageView::~CPageView() = default;

void CPageView::EnsureBuilt() {
    if (built_) {
        return;
    }
    built_ = true;
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    // Tab goes from control to control; the scrolling area itself is no stop on the way.
    scroll_->setFocusPolicy(Qt::NoFocus);
    content_ = new QWidget;
    auto* column = new QVBoxLayout(content_);
    form_ = new QFormLayout;
    form_->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form_->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    column->addLayout(form_);
    // List pages: the list panel of the page's repeated groups goes into this area, below the form.
    listArea_ = new QVBoxLayout;
    column->addLayout(listArea_);
    column->addStretch(1);
    scroll_->setWidget(content_);
    static_cast<QVBoxLayout*>(layout())->addWidget(scroll_);

    const std::vector<SFieldRow>& rows = page_.Row().fields;
    controls_.reserve(page_.Fields().Size());
    for (std::size_t i = 0; i < page_.Fields().Size(); ++i) {
        CParameterField* field = page_.Fields().At(i);
        std::unique_ptr<CQtFieldControl> control = MakeControl(*field, i < rows.size() ? rows[i].help : L"");
        // A page's units stay as the catalog gives them: only a box with one is laid out with it.
        control->RefreshUnit();
        if (control->Unit()) {
            form_->addRow(control->Label(), control->InputWithUnit());
        } else {
            form_->addRow(control->Label(), control->Input());
        }
        byField_[field] = control.get();
        controls_.push_back(std::move(control));
    }
    // ---- list panel: list pages show their repeated groups below the form ----
    if (page_.ListsGroups() && listPanelFactory_) {
        listPanel_ = listPanelFactory_(*this, content_);
        if (listPanel_) {
            listArea_->addWidget(listPanel_);
        }
    }
    if (extrasFactory_) {
        extras_ = extrasFactory_(*this, content_);
        if (extras_) {
            listArea_->addWidget(extras_);
        }
    }
    RefreshControls();
    // At once, not from the event loop: the keyboard must reach the new controls right away.
    scroll_->show();
}

std::unique_ptr<CQtFieldControl> CPageView::MakeControl(CParameterField& field, const std::wstring& help) {
    std::unique_ptr<CQtFieldControl> control = CreateQtFieldControl(
        field, content_, help, [hooks = &hooks_] { hooks->Ring(); }, onEdit_);
    control->SetUnitSource([this, &field] { return page_.UnitText(field); });
    return control;
}

CQtFieldControl* CPageView::ControlAt(const QWidget* widget) const {
    for (const auto& control : controls_) {
        for (const QWidget* part :
             {static_cast<const QWidget*>(control->Input()), static_cast<const QWidget*>(control->Label())}) {
            if (part && (part == widget || part->isAncestorOf(widget))) {
                return control.get();
            }
        }
    }
    return nullptr;
}

CQtFieldControl* CPageView::ControlOf(const CParameterField& field) const {
    const auto found = byField_.find(&field);
    return found == byField_.end() ? nullptr : found->second;
}

void CPageView::RefreshControls() {
    for (const auto& control : controls_) {
        const CParameterField& field = control->Field();
        control->SetControlText(field.Value());
        control->EnableControl(field.IsAvailable() && field.IsEnabled());
    }
    RedrawControls();
}

namespace {
// A pull-down shows the file's own spelling of a choice ("02") as the choice itself (2): the same
// answer, which the commit leaves as the file wrote it.
bool SameChoice(const CParameterField& field, const std::wstring& text) {
    if (!FieldAs<const CPulldownListField>(&field) || text.empty() || field.Value().empty()) {
        return false;
    }
    try {
        std::size_t used = 0;
        const long long value = std::stoll(field.Value(), &used, 10);
        return used == field.Value().size() && std::to_wstring(value) == text;
    } catch (const std::exception&) {
        return false;
    }
}
} // namespace

void CPageView::CommitControls() {
    // What the boxes show becomes the answers; where that changes one (a loaded choice the list
    // does not offer), it is a step the user can take back like any other.
    // The texts are read before any is handed on: an answer's re-evaluation may clear another box's
    // answer, which its box shows only once the step is over.
    std::vector<std::pair<CParameterField*, std::wstring>> edits;
    for (const auto& control : controls_) {
        CParameterField& field = control->Field();
        std::wstring text = control->GetControlText();
        if (text != field.Value() && !SameChoice(field, text)) {
            edits.emplace_back(&field, std::move(text));
        }
    }
    if (edits.empty()) {
        return;
    }
    // Each answer takes the route a typed one takes, so that what depends on it follows.
    CUndoStep step(page_.Sheet());
    for (auto& [field, text] : edits) {
        onEdit_(field, text);
    }
}

void CPageView::RedrawControls() {
    for (const auto& control : controls_) {
        control->UpdateColour();
    }
}

void CPageView::ApplyFieldChange(const SSheetChange::SField& change) {
    CQtFieldControl* control = ControlOf(*change.field);
    if (!control) {
        return;
    }
    control->ApplyChange(change);
}
