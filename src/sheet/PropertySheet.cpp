#include "sheet/PropertySheet.h"
#include "model/FieldNames.h"

#include "catalog/GroupCatalog.h"
#include "catalog/RuleTable.h"
#include "logging/Logger.h"
#include "model/Errors.h"
#include "model/RuleRecord.h"
#include "sheet/SheetChangeTracker.h"
#include "text/Version.h"

#include <algorithm>
#include <exception>

#include <stdexcept>
#include <unordered_map>

CMarnelPropertySheet::CMarnelPropertySheet(IPrompt* prompt, std::shared_ptr<const CRuleTable> rules)
    : prompt_(prompt), rules_(std::move(rules)), prototypes_(rules_), title_(orvik::TitleText()) {
    if (!prompt_) {
        ownPrompt_ = std::make_unique<CScriptedPrompt>();
        prompt_ = ownPrompt_.get();
    }
    fieldVector_.SetFormState(&formState_);
    for (const SPageRow& row : PageCatalog()) {
        pages_.push_back(std::make_unique<CPageSuper>(*this, row));
    }
    // Every page starts as a tab; the first evaluation removes those with nothing to ask.
    hasTab_.assign(pages_.size(), true);
}

CMarnelPropertySheet::~CMarnelPropertySheet() {
    // Groups hold parent pointers into the page fields: release them first, those the undo history
    // keeps included.
    history_.Clear();
    groupLists_.clear();
}

void CMarnelPropertySheet::Initialize() {
    for (auto& page : pages_) {
        const std::size_t first = fieldStore_.size();
        page->RegisterFields(fieldStore_);
        for (std::size_t i = first; i < fieldStore_.size(); ++i) {
            fieldVector_.Append(fieldStore_[i].get());
        }
    }
    LinkParents();
    fieldVector_.StableSort(HasFewerParents);
    // The Intro page shows which tool and which format revision this form belongs to.
    FillProgramAnswers(false);
    CreateGroupLists();
    Activate(EPage::Intro);
    if (!fieldVector_.Empty()) {
        UpdateAvailability(fieldVector_.At(0), formState_);
        Reevaluate(0, {.initial = true});
    }
}

void CMarnelPropertySheet::LinkParents() {
    CParameterField* productType = FindField(fieldname::kOrvikProductType);
    for (auto& page : pages_) {
        const SPageRow& row = page->Row();
        // The page's own parents, looked up once for all of its fields.
        std::vector<CParameterField*> pageWide;
        if (row.productTypeParent && productType) {
            pageWide.push_back(productType);
        }
        for (const std::wstring& name : row.pageWideParents) {
            if (CParameterField* parent = FindField(name)) {
                pageWide.push_back(parent);
            }
        }
        for (CParameterField* field : page->Fields()) {
            field->AddParents(pageWide);
            for (const std::wstring& name : field->Rule().reads) {
                if (CParameterField* parent = FindField(name); parent && parent != field) {
                    field->AddParentAndItsParents(parent);
                }
            }
        }
    }
    // Give every field all of its ancestors, so that a change re-evaluates every field that depends
    // on it however deep, and sorting by parent count puts every ancestor first.
    bool grew = true;
    while (grew) {
        grew = false;
        for (CParameterField* field : fieldVector_) {
            const std::size_t before = field->Parents().size();
            // By position: the list only grows at its end while it is read. A field that is its own
            // parent brings nothing it does not already have.
            for (std::size_t i = 0; i < before; ++i) {
                CParameterField* parent = field->Parents()[i];
                if (parent != field) {
                    field->AddParents(parent->Parents());
                }
            }
            grew = grew || field->Parents().size() != before;
        }
    }
}

void CMarnelPropertySheet::CreateGroupLists() {
    for (const auto& page : pages_) {
        if (!page->ListsGroups()) {
            continue;
        }
        const EGroupType type = page->ListedGroupType();
        try {
            EnsureGroupList(type);
        } catch (const filegen_error& e) {
            Log(std::string_view(e.what()));
        }
    }
}

std::vector<CPageSuper*> CMarnelPropertySheet::Tabs() const {
    std::vector<CPageSuper*> tabs;
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (hasTab_[i]) {
            tabs.push_back(pages_[i].get());
        }
    }
    return tabs;
}

bool CMarnelPropertySheet::HasEnteredAnswers() const {
    return std::any_of(pages_.begin(), pages_.end(),
                       [](const auto& page) { return page->HasWindow() && !page->IsPageEmpty(); });
}

void CMarnelPropertySheet::Activate(EPage page) {
    CSheetChangeScope scope(*this);
    active_ = page;
    CPageSuper& p = Page(page);
    p.SetReviewFlag(false);
    p.SetHasWindow(true);
}

CFieldGroupList& CMarnelPropertySheet::GetGroupList(EGroupType type) const {
    auto it = groupLists_.find(type);
    if (it == groupLists_.end()) {
        throw std::out_of_range("invalid map<K, T> key");
    }
    return *it->second;
}

CFieldGroupList& CMarnelPropertySheet::EnsureGroupList(EGroupType type) {
    auto it = groupLists_.find(type);
    if (it == groupLists_.end()) {
        // Group fields read page fields of other tabs (PD_Port_Type, PD_OCP_Method, the modal
        // operation answers): their scope ends in the list of all page fields.
        auto list = std::make_unique<CFieldGroupList>(prototypes_.Get(type), &fieldVector_, nullptr);
        it = groupLists_.emplace(type, std::move(list)).first;
    }
    return *it->second;
}

void CMarnelPropertySheet::ClearAllGroups() {
    for (auto& [type, list] : groupLists_) {
        list->Clear();
    }
}

void CMarnelPropertySheet::Reevaluate(CParameterField* changed) {
    const int position = fieldVector_.IndexOf(changed);
    if (position >= 0) {
        Reevaluate(static_cast<std::size_t>(position), SReevaluateOptions{});
        return;
    }
    // A field of a group: no page field depends on it, only its own group's fields.
    CSheetChangeScope scope(*this);
    if (guard_) {
        return;
    }
    guard_ = true;
    for (auto& [type, list] : groupLists_) {
        list->PropagateChange(changed, false);
    }
    guard_ = false;
}

void CMarnelPropertySheet::Reevaluate(std::size_t position, SReevaluateOptions options) {
    CSheetChangeScope scope(*this);
    const bool initial = options.initial;
    if (options.fullReset) {
        for (CParameterField* field : fieldVector_) {
            const FieldAction& refresh = field->Rule().refresh;
            if (!refresh) {
                continue;
            }
            try {
                refresh(field);
            } catch (const fieldlist_error& e) {
                Log(std::string_view(e.what()));
            }
        }
        for (auto& [type, list] : groupLists_) {
            list->RunRefreshActions();
        }
    }
    if (guard_) {
        return;
    }
    guard_ = true;

    const EPage remembered = active_;
    const CParameterField* changed = position < fieldVector_.Size() ? fieldVector_.At(position) : nullptr;
    fieldVector_.PropagateChange(position, changed, initial);

    for (auto& [type, list] : groupLists_) {
        if (!list->PropagateChange(changed, initial)) {
            list->Clear();
        }
    }

    std::vector<bool> touched(pages_.size(), false);
    touched[static_cast<std::size_t>(active_)] = true;
    for (CParameterField* field : fieldVector_) {
        if (field->IsChanged()) {
            if (CPageSuper* page = HostPage(field)) {
                touched[static_cast<std::size_t>(page->Id())] = true;
            }
        }
        field->SetChanged(false);
    }
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        // A page already waiting keeps the first reason it was flagged for.
        if (touched[i] && static_cast<EPage>(i) != active_ && reviewEnabled_ && !pages_[i]->ReviewFlag()) {
            pages_[i]->SetReviewFlag(true, options.initial ? CPageSuper::EReviewCause::Start
                                                           : CPageSuper::EReviewCause::Change);
        }
        hasTab_[i] = pages_[i]->HasAvailableField();
    }

    if (!hasTab_[static_cast<std::size_t>(remembered)]) {
        for (std::size_t i = 0; i < pages_.size(); ++i) {
            if (hasTab_[i]) {
                Activate(static_cast<EPage>(i));
                break;
            }
        }
    }
    guard_ = false;
}

void CMarnelPropertySheet::FillProgramAnswers(bool keepGiven) {
    for (CParameterField* field : fieldVector_) {
        field->FillProgramAnswer(keepGiven);
    }
}

void CMarnelPropertySheet::ApplyUserChange(CParameterField* field, const std::wstring& value) {
    if (!field) {
        return;
    }
    // A typed answer is one step however many keystrokes it takes; each choice is a step of its own.
    CUndoStep step(*this, FieldAs<const CPulldownListField>(field) ? nullptr : field);
    step.SetAnswered(field);
    const CRuleRecord& rule = field->Rule();
    if (rule.marksProductTypeChange) {
        if (CPageSuper* page = HostPage(field)) {
            page->SetProductTypeChanged(true);
        }
    }
    if (rule.evaluatedFirst) {
        UpdateAvailability(FindField(rule.evaluatedFirst), formState_);
    }
    field->SetValue(value);
    // Also after the answers whose page only repaints: groups added since the last evaluation learn
    // which of their questions are asked.
    Reevaluate(field);
    step.SetLabel(AnswerLabel(*field));
}

bool CMarnelPropertySheet::CopyStateFrom(const CMarnelPropertySheet& other) {
    const std::size_t count = fieldVector_.Size();
    if (other.fieldVector_.Size() != count || other.pages_.size() != pages_.size()) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (&fieldVector_.At(i)->Rule() != &other.fieldVector_.At(i)->Rule()) {
            return false;
        }
    }
    CSheetChangeScope scope(*this);
    for (std::size_t i = 0; i < count; ++i) {
        CParameterField* field = fieldVector_.At(i);
        const CParameterField& source = *other.fieldVector_.At(i);
        field->CopyFrom(source);
        field->SetEnabled(source.IsEnabled());
        field->SetChanged(source.IsChanged());
        field->SetFileEntry(source.FileEntryName(), source.FileEntryValue());
    }
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const CPageSuper& source = *other.pages_[i];
        pages_[i]->SetReviewFlag(source.ReviewFlag(), source.ReviewCause());
        pages_[i]->SetHasWindow(source.HasWindow());
        pages_[i]->SetProductTypeChanged(source.ProductTypeChanged());
    }
    for (auto& [type, list] : groupLists_) {
        list->Clear();
    }
    // A group's links to page fields go to this form's fields at the same places.
    std::unordered_map<const CParameterField*, CParameterField*> own;
    own.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        own.emplace(other.fieldVector_.At(i), fieldVector_.At(i));
    }
    const auto outside = [&own](const CParameterField* field) -> CParameterField* {
        const auto it = own.find(field);
        return it == own.end() ? nullptr : it->second;
    };
    for (const auto& [type, source] : other.groupLists_) {
        CFieldGroupList& list = EnsureGroupList(type);
        for (const auto& group : source->Groups()) {
            list.AppendCopyOf(*group, outside);
        }
    }
    hasTab_ = other.hasTab_;
    active_ = other.active_;
    formState_ = other.formState_;
    reviewEnabled_ = other.reviewEnabled_;
    // The file's entries waiting for an upgrade stay with the form that read them.
    return true;
}

void CMarnelPropertySheet::AddObserver(ISheetObserver* observer) {
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void CMarnelPropertySheet::RemoveObserver(ISheetObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void CMarnelPropertySheet::BeginChange() {
    // Without observers and history nobody needs the comparison: the command-line tool pays nothing
    // for it.
    if (changeDepth_++ == 0 && (!observers_.empty() || history_.Enabled())) {
        before_ = std::make_unique<CSheetSnapshot>(*this);
    }
}

void CMarnelPropertySheet::EndChange() {
    if (changeDepth_ == 0 || --changeDepth_ > 0) {
        return;
    }
    std::unique_ptr<CSheetSnapshot> before = std::move(before_);
    if (!before) {
        history_.Close(true);
        return;
    }
    const SSheetChange change = before->Compare(*this);
    // The history learns of the step before the views do, so that they show its undo at once. A
    // change no view shows (a group's field its list line leaves out) is still a step.
    history_.Close(!change.Empty() || history_.AnswersChanged());
    if (change.Empty() || observers_.empty()) {
        return;
    }
    // An observer may detach itself or others while being told.
    const std::vector<ISheetObserver*> observers = observers_;
    for (ISheetObserver* observer : observers) {
        if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
            continue;
        }
        try {
            observer->SheetChanged(change);
        } catch (const std::exception& e) {
            Log(std::string_view(e.what()));
        }
    }
}
