#pragma once

#include "catalog/PageCatalog.h"
#include "model/FieldList.h"
#include "model/PageContext.h"
#include "model/WndWrapper.h"

#include <memory>
#include <string>
#include <vector>

class CMarnelPropertySheet;
class CPageSuper;

// How a page's field reaches its page.
class CPageWrapper : public CWndWrapper {
public:
    explicit CPageWrapper(CPageSuper& page) : page_(page) {}
    IPageContext* GetPage() const override;
    bool IsActivePage() const override;

private:
    CPageSuper& page_;
};

// One tab of the sheet without its window: its fields, its validity and emptiness, its review flag.
class CPageSuper : public IPageContext {
public:
    CPageSuper(CMarnelPropertySheet& sheet, const SPageRow& row);
    CPageSuper(const CPageSuper&) = delete;
    CPageSuper& operator=(const CPageSuper&) = delete;

    EPage Id() const { return row_.id; }
    const SPageRow& Row() const { return row_; }
    const std::wstring& SectionCaption() const { return row_.sectionCaption; }
    const std::wstring& TabLabel() const { return row_.tabLabel; }
    // The type number of the page's group list, as the sheet keeps its lists; 0 for none.
    EGroupType ListedGroupType() const { return row_.listedGroupType; }
    // A list page: it lists repeated items below its questions.
    bool ListsGroups() const { return row_.listedGroupType != EGroupType::None; }
    CMarnelPropertySheet& Sheet() const { return sheet_; }
    CWndWrapper* Wrapper() { return &wrapper_; }

    const CFieldList& Fields() const { return fields_; }
    // One of this page's fields by name pattern or printable name; null when not on this page.
    CParameterField* Field(const std::wstring& name) const;

    // What the rules of the page's fields may ask.
    int PageIndex() const override { return static_cast<int>(row_.id); }
    CParameterField* PageField(const std::wstring& name) const override { return Field(name); }
    CParameterField* FormField(const std::wstring& name) const override;

    // Creates the page's fields from the catalog, hands them to the sheet and links the page-wide
    // parents.
    void RegisterFields(std::vector<std::unique_ptr<CParameterField>>& fieldStore);
    // Sets the choice lists the catalog gives (action-built lists are left to their actions).
    void FillChoices();

    bool HasAvailableField() const;
    // Review flag set, an available field failing its check, the page's group list failing its
    // check, or a rule of the page's own failing.
    bool IsPageValid() const;
    // As IsPageValid, without the review flag: the answers alone.
    bool AreAnswersValid() const;
    // Nothing entered: every field empty and, on a list page, no group.
    bool IsPageEmpty() const;
    // Why the page's own rules (beyond field checks and the list check) reject it; empty when they
    // accept it.
    std::vector<std::wstring> PageRuleProblems() const;
    // Whether one of this page's fields is shown red: it fails its own check, or it is a count of
    // the page's SVID list while both counts hold text and break the count rule together.
    bool IsFieldShownInvalid(const CParameterField& field) const;
    // The unit written after the field's box, as the field's catalog row gives it ("ns", "mW");
    // empty for a count, an identifier and every field that is not a number.
    std::wstring UnitText(const CParameterField& field) const;

    // Why a flagged page waits for the user's look: the form as it started, a load, or a change
    // on another tab.
    enum class EReviewCause { Start, Load, Change };
    bool ReviewFlag() const { return reviewFlag_; }
    EReviewCause ReviewCause() const { return reviewCause_; }
    void SetReviewFlag(bool on, EReviewCause cause = EReviewCause::Change) {
        reviewFlag_ = on;
        reviewCause_ = cause;
    }
    // Whether the page has been shown (the window toolkit creates page windows on first visit).
    bool HasWindow() const { return hasWindow_; }
    void SetHasWindow(bool on) { hasWindow_ = on; }
    // Cable page: the product type was changed by the user since Cable_Latency last rebuilt its list.
    bool ProductTypeChanged() const override { return productTypeChanged_; }
    void SetProductTypeChanged(bool on) override { productTypeChanged_ = on; }

private:
    // SVID list pages: why the minimum, maximum and fixed answers do not fit together; empty when
    // they fit or on other pages.
    std::wstring SvidCountProblem() const;

    CMarnelPropertySheet& sheet_;
    const SPageRow& row_;
    CPageWrapper wrapper_{*this};
    CFieldList fields_;
    bool reviewFlag_ = false;
    EReviewCause reviewCause_ = EReviewCause::Start;
    bool hasWindow_ = false;
    bool productTypeChanged_ = false;
};

// The page hosting a field, or null for a field of a group or without host.
CPageSuper* HostPage(const CParameterField* field);
// Whether a field is shown red: the hosting page's answer, or the field's own check for a field
// without a page (a group's field).
bool IsShownInvalid(const CParameterField& field);
