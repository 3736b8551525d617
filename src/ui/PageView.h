#pragma once

#include "catalog/PageCatalog.h"
#include "sheet/PageSuper.h"
#include "sheet/SheetObserver.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

class CParameterField;
class CQtFieldControl;
class CWindowHooks;
class QFormLayout;
class QScrollArea;
class QVBoxLayout;

// One tab's page: a scrolling form with one label and one control per field of the page, in
// registration order. The form is built when the page is first shown; the view owns the controls and
// shows in them what the sheet announces.
class CPageView : public QWidget {
    Q_OBJECT
public:
    // `onEdit` receives the user's answers; `hooks`, which must outlive the view, rings the bell for
    // its controls.
    CPageView(CPageSuper& page, std::function<void(CParameterField*, const std::wstring&)> onEdit,
              const CWindowHooks& hooks, QWidget* parent = nullptr);
    ~CPageView() override;

    CPageSuper& Page() const { return page_; }
    bool IsBuilt() const { return built_; }
    // Builds the form with its controls once; later calls do nothing.
    void EnsureBuilt();

    // Writes every field's value and availability into its control, then recolours.
    void RefreshControls();
    // Hands every control's text to its field: text put into a box by other means than typing.
    void CommitControls();
    // Repaints every control's colours.
    void RedrawControls();
    // Shows what the sheet announced of one of this page's fields; nothing before the page is built.
    void ApplyFieldChange(const SSheetChange::SField& change);
    // The control showing a field of this page; null before the page is built.
    CQtFieldControl* ControlOf(const CParameterField& field) const;
    // The control whose label or input is `widget` or holds it; null for any other widget.
    CQtFieldControl* ControlAt(const QWidget* widget) const;

    QFormLayout* Form() const { return form_; }
    // Where a list page puts its list panel: below the form, inside the scrolling area.
    QVBoxLayout* ListPanelArea() const { return listArea_; }
    // The list panel of a list page (ListsGroups()), or null.
    QWidget* ListPanel() const { return listPanel_; }

    // Builds a part of the page below its form when the page is first shown; later calls of the
    // setters below change nothing on a page already built.
    using PartFactory = std::function<QWidget*(CPageView& view, QWidget* parent)>;
    // The list panel, for a list page. Without a factory list pages show the form alone.
    void SetListPanelFactory(PartFactory factory) { listPanelFactory_ = std::move(factory); }
    // The controls this page has of its own (the Intro page's buttons).
    void SetExtrasFactory(PartFactory factory) { extrasFactory_ = std::move(factory); }
    // The page's own controls, or null.
    QWidget* Extras() const { return extras_; }

private:
    std::unique_ptr<CQtFieldControl> MakeControl(CParameterField& field, const std::wstring& help);

    CPageSuper& page_;
    std::function<void(CParameterField*, const std::wstring&)> onEdit_;
    const CWindowHooks& hooks_;
    PartFactory listPanelFactory_;
    PartFactory extrasFactory_;
    bool built_ = false;
    QScrollArea* scroll_ = nullptr;
    QWidget* content_ = nullptr;
    QFormLayout* form_ = nullptr;
    QVBoxLayout* listArea_ = nullptr;
    QWidget* listPanel_ = nullptr;
    QWidget* extras_ = nullptr;
    // One control per field of the page, in the page's order, once built.
    std::vector<std::unique_ptr<CQtFieldControl>> controls_;
    std::unordered_map<const CParameterField*, CQtFieldControl*> byField_;
};
