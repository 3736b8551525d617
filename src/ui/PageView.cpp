#include "ui/PageView.h"

#include "catalog/PageCatalog.h"
#include "model/FieldKinds.h"
#include "ui/FieldControls.h"
#include "ui/WindowHooks.h"

#include <QFormLayout>
#include <QScrollArea>
#include <QVBoxLayout>

CPageView::CPageView(CPageSuper& page, std::function<void(CPageSuper&)> onRedrawTab,
                     std::function<void(CParameterField*, const std::wstring&)> onEdit,
                     const CWindowHooks& hooks, QWidget* parent)
    : QWidget(parent), page_(page), onRedrawTab_(std::move(onRedrawTab)), onEdit_(std::move(onEdit)),
      hooks_(hooks) {
    setObjectName(QString::fromStdWString(page.SectionCaption()));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    page_.SetView(this);
}

CPageView::~CPageView() {
    // The page's fields outlive this window: their controls must no longer touch it.
    for (CParameterField* field : page_.Fields()) {
        if (auto* control = dynamic_cast<CQtFieldControl*>(field->Control())) {
            control->Unbind();
        }
        field->DestroyControl();
    }
    if (page_.View() == this) {
        page_.SetView(nullptr);
    }
}

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

    for (CParameterField* field : page_.Fields()) {
        field->DestroyControl();
        field->CreateControl();
        auto* control = dynamic_cast<CQtFieldControl*>(field->Control());
        if (!control) {
            continue;
        }
        // A page's units stay as the catalog gives them: only a box with one is laid out with it.
        control->RefreshUnit();
        if (control->Unit()) {
            form_->addRow(control->Label(), control->InputWithUnit());
        } else {
            form_->addRow(control->Label(), control->Input());
        }
        field->SetControlReady(true);
    }
    // ---- list panel: list pages show their repeated groups below the form ----
    if (page_.ListedGroupType() != 0 && listPanelFactory_) {
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

std::wstring CPageView::HelpOf(const CParameterField& field) const {
    const std::vector<SFieldRow>& rows = page_.Row().fields;
    for (std::size_t i = 0; i < page_.Fields().Size() && i < rows.size(); ++i) {
        if (page_.Fields().At(i) == &field) {
            return rows[i].help;
        }
    }
    return {};
}

std::unique_ptr<CFieldControl> CPageView::MakeControl(CParameterField& field) {
    if (!content_) {
        return nullptr;
    }
    std::unique_ptr<CQtFieldControl> control =
        CreateQtFieldControl(field, content_, HelpOf(field), [hooks = &hooks_] { hooks->Ring(); });
    control->SetUnitSource([this, &field] { return page_.UnitText(field); });
    control->SetEditCallback(onEdit_);
    return control;
}

void CPageView::RefreshControls() {
    if (!built_) {
        return;
    }
    for (CParameterField* field : page_.Fields()) {
        if (field->HasActiveControl()) {
            field->Control()->SetControlText(field->Value());
            field->Control()->EnableControl(field->IsAvailable() && field->IsEnabled());
        }
    }
    RedrawControls();
}

void CPageView::CommitControls() {
    for (CParameterField* field : page_.Fields()) {
        field->SyncWithControl(ESyncDirection::ControlToValue);
    }
}

void CPageView::RedrawControls() {
    if (!built_) {
        return;
    }
    for (CParameterField* field : page_.Fields()) {
        if (auto* control = dynamic_cast<CQtFieldControl*>(field->Control())) {
            control->UpdateColour();
        }
    }
    RedrawTab();
}

void CPageView::RedrawTab() {
    if (onRedrawTab_) {
        onRedrawTab_(page_);
    }
}
