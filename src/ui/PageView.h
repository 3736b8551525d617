#pragma once

#include "catalog/PageCatalog.h"
#include "sheet/PageSuper.h"

#include <QWidget>

#include <functional>
#include <string>

class CParameterField;
class CQtFieldControl;
class CWindowHooks;
class QFormLayout;
class QScrollArea;
class QVBoxLayout;

// One tab's page: a scrolling form with one label and one control per field of the page, in
// registration order. The form is built when the page is first shown.
class CPageView : public QWidget, public IPageView {
    Q_OBJECT
public:
    // `onRedrawTab` repaints this page's tab caption; `onEdit` receives the user's answers; `hooks`,
    // which must outlive the view, rings the bell for its controls.
    CPageView(CPageSuper& page, std::function<void(CPageSuper&)> onRedrawTab,
              std::function<void(CParameterField*, const std::wstring&)> onEdit, const CWindowHooks& hooks,
              QWidget* parent = nullptr);
    ~CPageView() override;

    CPageSuper& Page() const { return page_; }
    bool IsBuilt() const { return built_; }
    // Builds the form with its controls once; later calls do nothing.
    void EnsureBuilt();

    // Writes every field's value and availability into its control, then recolours.
    void RefreshControls();
    // Copies every control's text into its field.
    void CommitControls();
    // Repaints every control's colours.
    void RedrawControls();

    QFormLayout* Form() const { return form_; }
    // Where a list page puts its list panel: below the form, inside the scrolling area.
    QVBoxLayout* ListPanelArea() const { return listArea_; }
    // The list panel of a list page (ListedGroupType() != 0), or null.
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

    void RedrawTab() override;
    std::unique_ptr<CFieldControl> MakeControl(CParameterField& field) override;

private:
    std::wstring HelpOf(const CParameterField& field) const;

    CPageSuper& page_;
    std::function<void(CPageSuper&)> onRedrawTab_;
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
};
