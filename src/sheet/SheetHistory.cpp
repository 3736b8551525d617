#include "sheet/SheetHistory.h"

#include "catalog/GroupTypes.h"
#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "sheet/PageSuper.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace {

// A group's clone keeps answers and availability; the forced and changed marks are copied here,
// field by field, modes included: both groups have the same shape.
void CopyMarks(const CFieldGroup& from, CFieldGroup& to) {
    const CFieldList& source = from.Fields();
    CFieldList& target = to.Fields();
    for (std::size_t i = 0; i < source.Size() && i < target.Size(); ++i) {
        target.At(i)->SetEnabled(source.At(i)->IsEnabled());
        target.At(i)->SetChanged(source.At(i)->IsChanged());
    }
    if (from.ChildList() && to.ChildList()) {
        for (std::size_t i = 0; i < from.ChildList()->Size() && i < to.ChildList()->Size(); ++i) {
            CopyMarks(from.ChildList()->At(i), to.ChildList()->At(i));
        }
    }
}

std::unique_ptr<CFieldGroup> CopyOf(const CFieldGroup& group) {
    std::unique_ptr<CFieldGroup> copy = group.Clone();
    CopyMarks(group, *copy);
    return copy;
}

// Everything of a field a copy keeps, compared without copying.
bool SameState(const CParameterField& a, const CParameterField& b) {
    if (a.Value() != b.Value() || a.IsAvailable() != b.IsAvailable() || a.IsEnabled() != b.IsEnabled() ||
        a.IsChanged() != b.IsChanged() || a.WriteComment() != b.WriteComment() ||
        a.FileEntryName() != b.FileEntryName() || a.FileEntryValue() != b.FileEntryValue()) {
        return false;
    }
    const CPulldownListField* listA = FieldAs<const CPulldownListField>(&a);
    const CPulldownListField* listB = FieldAs<const CPulldownListField>(&b);
    if (listA || listB) {
        return listA && listB && &listA->Options() == &listB->Options();
    }
    const CNumEditField* numA = FieldAs<const CNumEditField>(&a);
    const CNumEditField* numB = FieldAs<const CNumEditField>(&b);
    if (numA || numB) {
        return numA && numB && numA->Minimum() == numB->Minimum() && numA->Maximum() == numB->Maximum() &&
               numA->Scale() == numB->Scale() && numA->Units() == numB->Units();
    }
    return true;
}

// Whether two groups, and their mode lists, hold fields that `sameField` finds alike. A group
// without a mode list and one with an empty list are alike: both write the same lines.
template <typename SameField>
bool GroupsAlike(const CFieldGroup& a, const CFieldGroup& b, SameField sameField) {
    if (a.InstanceNumber() != b.InstanceNumber() || a.Fields().Size() != b.Fields().Size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.Fields().Size(); ++i) {
        const CParameterField& fieldA = *a.Fields().At(i);
        const CParameterField& fieldB = *b.Fields().At(i);
        if (fieldA.NamePattern() != fieldB.NamePattern() || !sameField(fieldA, fieldB)) {
            return false;
        }
    }
    const CFieldGroupList* modesA = a.ChildList();
    const CFieldGroupList* modesB = b.ChildList();
    const std::size_t count = modesA ? modesA->Size() : 0;
    if (count != (modesB ? modesB->Size() : 0)) {
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        if (!GroupsAlike(modesA->At(i), modesB->At(i), sameField)) {
            return false;
        }
    }
    return true;
}

// Everything a copy keeps alike.
bool SameGroup(const CFieldGroup& a, const CFieldGroup& b) {
    return GroupsAlike(a, b, SameState);
}

// The same answers, asked alike; their choices and colours aside.
bool SameAnswers(const CFieldGroup& a, const CFieldGroup& b) {
    return GroupsAlike(a, b, [](const CParameterField& fieldA, const CParameterField& fieldB) {
        return fieldA.Value() == fieldB.Value() && fieldA.IsAvailable() == fieldB.IsAvailable();
    });
}

// The label of the option a pull-down's answer picks, or the answer itself.
std::wstring ChoiceLabel(const CParameterField& field) {
    if (const CPulldownListField* list = FieldAs<const CPulldownListField>(&field)) {
        for (const COption& option : list->Options()) {
            if (orvik::ToWideSigned(option.first) == field.Value()) {
                return option.second;
            }
        }
    }
    return field.Value();
}

// An answer as the cleared-answers bar shows it: "4 : DRP" for a choice, the text otherwise.
std::wstring AnswerText(const CParameterField& field) {
    const std::wstring choice = ChoiceLabel(field);
    return FieldAs<const CPulldownListField>(&field) && choice != field.Value()
               ? field.Value() + L" : " + choice
               : field.Value();
}

std::wstring Counted(std::size_t n, const wchar_t* singular, const wchar_t* plural) {
    return orvik::ToWide(n) + L" " + (n == 1 ? singular : plural);
}

} // namespace

// A list's groups as they were. Most changes leave the lists alone, so consecutive states share
// one copy of a list instead of copying thousands of mode fields at every keystroke.
struct SSavedList {
    std::vector<std::unique_ptr<CFieldGroup>> groups;

    bool Matches(const CFieldGroupList& list) const {
        if (list.Size() != groups.size()) {
            return false;
        }
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (!SameGroup(list.At(i), *groups[i])) {
                return false;
            }
        }
        return true;
    }
};
using SavedLists = std::map<EGroupType, std::shared_ptr<const SSavedList>>;

// An answer the user gave: a forced answer is the program's.
bool UserAnswer(const std::wstring& value, bool enabled) {
    return !value.empty() && enabled;
}

// What a change threw away, from the answers the user had given before it (by their places in the
// field vector) and the number of groups each list had: those answers `after` no longer has, the
// groups gone, and on how many tabs.
SClearedAnswers CountCleared(const std::vector<bool>& given, const std::map<EGroupType, std::size_t>& groups,
                             const CMarnelPropertySheet& after) {
    SClearedAnswers cleared;
    std::set<const CPageSuper*> tabs;
    const CFieldList& fields = after.FieldVector();
    for (std::size_t i = 0; i < given.size() && i < fields.Size(); ++i) {
        const CParameterField* now = fields.At(i);
        if (!given[i] || !now->Value().empty()) {
            continue;
        }
        ++cleared.answers;
        if (const CPageSuper* page = HostPage(now)) {
            tabs.insert(page);
        }
    }
    for (const auto& [type, before] : groups) {
        const auto it = after.GroupLists().find(type);
        const std::size_t now = it == after.GroupLists().end() ? 0 : it->second->Size();
        if (now >= before) {
            continue;
        }
        cleared.groups.emplace_back(type, before - now);
        for (const auto& page : after.Pages()) {
            if (page->ListedGroupType() == type) {
                tabs.insert(page.get());
            }
        }
    }
    cleared.tabs = tabs.size();
    return cleared;
}

// Everything of the sheet an undo puts back. Page fields are the sheet's own objects for the
// whole run, so they are restored in place; a list that differs is replaced by copies of its groups.
class CSheetMemento {
public:
    // `recent` holds the lists of the state taken last; those still the same are shared.
    CSheetMemento(const CMarnelPropertySheet& sheet, const SavedLists& recent)
        : hasTab_(sheet.hasTab_), active_(sheet.active_), formState_(sheet.formState_), title_(sheet.title_),
          outputFileName_(sheet.outputFileName_), loadState_(sheet.loadState_) {
        fields_.reserve(sheet.fieldVector_.Size());
        for (const CParameterField* field : sheet.fieldVector_) {
            SField state{field->Clone(), field->IsEnabled(), field->IsChanged(), field->FileEntryName(),
                         field->FileEntryValue()};
            state.copy->CopyFrom(*field);
            fields_.push_back(std::move(state));
        }
        for (const auto& page : sheet.pages_) {
            pages_.push_back(
                {page->ReviewFlag(), page->ReviewCause(), page->HasWindow(), page->ProductTypeChanged()});
        }
        for (const auto& [type, list] : sheet.groupLists_) {
            const auto it = recent.find(type);
            if (it != recent.end() && it->second->Matches(*list)) {
                lists_[type] = it->second;
                continue;
            }
            auto saved = std::make_shared<SSavedList>();
            for (const auto& group : list->Groups()) {
                saved->groups.push_back(CopyOf(*group));
            }
            lists_[type] = std::move(saved);
        }
    }

    const SavedLists& Lists() const { return lists_; }

    void RestoreInto(CMarnelPropertySheet& sheet) const {
        for (std::size_t i = 0; i < fields_.size() && i < sheet.fieldVector_.Size(); ++i) {
            CParameterField* field = sheet.fieldVector_.At(i);
            const SField& state = fields_[i];
            field->CopyFrom(*state.copy);
            field->SetEnabled(state.enabled);
            field->SetChanged(state.changed);
            field->SetFileEntry(state.fileEntryName, state.fileEntryValue);
        }
        for (std::size_t i = 0; i < pages_.size() && i < sheet.pages_.size(); ++i) {
            CPageSuper& page = *sheet.pages_[i];
            page.SetReviewFlag(pages_[i].review, pages_[i].cause);
            page.SetHasWindow(pages_[i].hasWindow);
            page.SetProductTypeChanged(pages_[i].productTypeChanged);
        }
        for (const auto& [type, saved] : lists_) {
            CFieldGroupList& list = sheet.EnsureGroupList(type);
            if (saved->Matches(list)) {
                continue;
            }
            list.Clear();
            for (const std::unique_ptr<CFieldGroup>& group : saved->groups) {
                list.Append(CopyOf(*group));
            }
        }
        sheet.hasTab_ = hasTab_;
        sheet.active_ = active_;
        sheet.formState_ = formState_;
        sheet.title_ = title_;
        sheet.outputFileName_ = outputFileName_;
        sheet.loadState_ = loadState_;
    }

    // Whether `sheet` holds other answers than this state: a field's answer, whether it is asked
    // or its file entry, or a list's groups.
    bool AnswersDiffer(const CMarnelPropertySheet& sheet) const {
        if (fields_.size() != sheet.fieldVector_.Size()) {
            return true;
        }
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            const SField& before = fields_[i];
            const CParameterField& now = *sheet.fieldVector_.At(i);
            if (before.copy->Value() != now.Value() || before.copy->IsAvailable() != now.IsAvailable() ||
                before.fileEntryName != now.FileEntryName() ||
                before.fileEntryValue != now.FileEntryValue()) {
                return true;
            }
        }
        for (const auto& [type, list] : sheet.groupLists_) {
            const auto saved = lists_.find(type);
            const std::size_t count = saved == lists_.end() ? 0 : saved->second->groups.size();
            if (count != list->Size()) {
                return true;
            }
            for (std::size_t i = 0; i < count; ++i) {
                if (!SameAnswers(*saved->second->groups[i], list->At(i))) {
                    return true;
                }
            }
        }
        return false;
    }

    // Answers of this state that the user gave and `sheet` no longer has, and groups gone.
    SClearedAnswers ClearedIn(const CMarnelPropertySheet& sheet) const {
        std::vector<bool> given;
        given.reserve(fields_.size());
        for (const SField& field : fields_) {
            given.push_back(UserAnswer(field.copy->Value(), field.enabled));
        }
        std::map<EGroupType, std::size_t> groups;
        for (const auto& [type, saved] : lists_) {
            groups[type] = saved->groups.size();
        }
        return CountCleared(given, groups, sheet);
    }

    // The answers and groups ClearedIn counts, with what they held, in the order of the tabs they
    // were on and, on one tab, in the order the sheet keeps them.
    std::vector<SClearedEntry> ClearedEntriesIn(const CMarnelPropertySheet& sheet) const {
        std::vector<std::pair<std::size_t, SClearedEntry>> byPage;
        const auto pageIndex = [&sheet](const CPageSuper* page) {
            for (std::size_t i = 0; i < sheet.pages_.size(); ++i) {
                if (sheet.pages_[i].get() == page) {
                    return i;
                }
            }
            return sheet.pages_.size();
        };
        for (std::size_t i = 0; i < fields_.size() && i < sheet.fieldVector_.Size(); ++i) {
            const SField& before = fields_[i];
            const CParameterField* now = sheet.fieldVector_.At(i);
            if (!UserAnswerCleared(before, *now)) {
                continue;
            }
            const CPageSuper* page = HostPage(now);
            byPage.push_back({pageIndex(page),
                              {page ? page->TabLabel() : std::wstring(), now->GetPrintableName(),
                               AnswerText(*before.copy)}});
        }
        for (const auto& [type, saved] : lists_) {
            const auto it = sheet.groupLists_.find(type);
            const std::size_t now = it == sheet.groupLists_.end() ? 0 : it->second->Size();
            const SGroupTypeRow* row = FindGroupTypeRow(type);
            const CPageSuper* page = ListPage(sheet, type);
            // A list cut short lost the groups from its new end on.
            for (std::size_t i = now; i < saved->groups.size(); ++i) {
                const CFieldGroup& group = *saved->groups[i];
                const std::wstring caption = row ? row->caption : L"Item";
                byPage.push_back(
                    {pageIndex(page),
                     {page ? page->TabLabel() : std::wstring(),
                      caption + L" " + orvik::ToWideSigned(group.InstanceNumber()),
                      it == sheet.groupLists_.end() ? std::wstring() : it->second->Summary(group)}});
            }
        }
        std::stable_sort(byPage.begin(), byPage.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<SClearedEntry> entries;
        entries.reserve(byPage.size());
        for (auto& [page, entry] : byPage) {
            entries.push_back(std::move(entry));
        }
        return entries;
    }

private:
    struct SField {
        std::unique_ptr<CParameterField> copy;
        bool enabled;
        bool changed;
        std::wstring fileEntryName;
        std::wstring fileEntryValue;
    };

    // An answer the user gave that the sheet no longer has.
    static bool UserAnswerCleared(const SField& before, const CParameterField& now) {
        return UserAnswer(before.copy->Value(), before.enabled) && now.Value().empty();
    }
    // The page that lists the groups of `type`, or null.
    static const CPageSuper* ListPage(const CMarnelPropertySheet& sheet, EGroupType type) {
        for (const auto& page : sheet.pages_) {
            if (page->ListedGroupType() == type) {
                return page.get();
            }
        }
        return nullptr;
    }
    struct SPage {
        bool review;
        CPageSuper::EReviewCause cause;
        bool hasWindow;
        bool productTypeChanged;
    };

    std::vector<SField> fields_;
    std::vector<SPage> pages_;
    SavedLists lists_;
    std::vector<bool> hasTab_;
    EPage active_;
    SFormState formState_;
    std::wstring title_;
    std::wstring outputFileName_;
    std::shared_ptr<ISheetAttachment> loadState_;
};

SClearedAnswers ClearedBetween(const CMarnelPropertySheet& before, const CMarnelPropertySheet& after) {
    std::vector<bool> given;
    given.reserve(before.FieldVector().Size());
    for (const CParameterField* field : before.FieldVector()) {
        given.push_back(UserAnswer(field->Value(), field->IsEnabled()));
    }
    std::map<EGroupType, std::size_t> groups;
    for (const auto& [type, list] : before.GroupLists()) {
        groups[type] = list->Size();
    }
    return CountCleared(given, groups, after);
}

std::wstring ClearedWords(const SClearedAnswers& cleared) {
    std::vector<std::wstring> parts;
    if (cleared.answers > 0) {
        parts.push_back(Counted(cleared.answers, L"answer", L"answers"));
    }
    for (const auto& [type, count] : cleared.groups) {
        if (const SGroupTypeRow* row = FindGroupTypeRow(type)) {
            parts.push_back(Counted(count, row->caption, row->label));
        }
    }
    std::wstring what;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) {
            what += i + 1 == parts.size() ? L" and " : L", ";
        }
        what += parts[i];
    }
    return what + L" on " + Counted(cleared.tabs, L"tab", L"tabs");
}

CSheetHistory::CSheetHistory(CMarnelPropertySheet& sheet, std::size_t limit) : sheet_(sheet), limit_(limit) {}

CSheetHistory::~CSheetHistory() = default;

void CSheetHistory::SetEnabled(bool on) {
    enabled_ = on;
    if (!on) {
        Clear();
    }
}

std::wstring CSheetHistory::UndoLabel() const {
    return undo_.empty() ? std::wstring() : undo_.back().label;
}

std::wstring CSheetHistory::RedoLabel() const {
    return redo_.empty() ? std::wstring() : redo_.back().label;
}

void CSheetHistory::Clear() {
    undo_.clear();
    redo_.clear();
    recentLists_.clear();
    mergeKey_ = nullptr;
    lastCleared_ = {};
    lastClearedText_.clear();
    lastClearedEntries_.clear();
}

void CSheetHistory::Open(const CParameterField* mergeKey) {
    if (!enabled_ || restoring_ || pending_ || sheet_.changeDepth_ > 0) {
        return;
    }
    pending_ = std::make_unique<CSheetMemento>(sheet_, recentLists_);
    recentLists_ = pending_->Lists();
    pendingMergeKey_ = mergeKey;
    pendingLabel_.clear();
    pendingAnswered_ = nullptr;
}

void CSheetHistory::Describe(std::wstring label, const CParameterField* answered) {
    if (!pending_) {
        return;
    }
    if (!label.empty()) {
        pendingLabel_ = std::move(label);
    }
    if (answered) {
        pendingAnswered_ = answered;
    }
}

bool CSheetHistory::AnswersChanged() const {
    return pending_ && pending_->AnswersDiffer(sheet_);
}

void CSheetHistory::Close(bool changed) {
    std::unique_ptr<CSheetMemento> before = std::move(pending_);
    if (!before || !changed) {
        return;
    }
    ++serial_;
    CountCleared(*before, pendingAnswered_);
    redo_.clear();
    if (pendingMergeKey_ && pendingMergeKey_ == mergeKey_ && !undo_.empty()) {
        // More typing in the same box: the step before it already holds the state to go back to.
        undo_.back().label = std::move(pendingLabel_);
        return;
    }
    undo_.push_back({std::move(before), std::move(pendingLabel_)});
    if (undo_.size() > limit_) {
        undo_.pop_front();
    }
    mergeKey_ = pendingMergeKey_;
}

void CSheetHistory::CountCleared(const CSheetMemento& before, const CParameterField* answered) {
    lastCleared_ = {};
    lastClearedText_.clear();
    lastClearedEntries_.clear();
    if (!answered) {
        return;
    }
    lastCleared_ = before.ClearedIn(sheet_);
    if (lastCleared_.Empty()) {
        return;
    }
    lastClearedEntries_ = before.ClearedEntriesIn(sheet_);
    // An answer taken back has no words of its own to quote ("<Select>" is the list's, not the
    // user's).
    const std::wstring cause =
        answered->Value().empty()
            ? L"Taking back the answer to " + answered->GetPrintableName()
            : (FieldAs<const CPulldownListField>(answered) ? L"Choosing " : L"Entering ") +
                  ChoiceLabel(*answered) + L" for " + answered->GetPrintableName();
    lastClearedText_ = cause + L" cleared " + ClearedWords(lastCleared_) + L".";
}

void CSheetHistory::Restore(std::deque<SStep>& from, std::deque<SStep>& to) {
    restoring_ = true;
    {
        CSheetChangeScope scope(sheet_);
        SStep step = std::move(from.back());
        from.pop_back();
        to.push_back({std::make_unique<CSheetMemento>(sheet_, recentLists_), step.label});
        step.state->RestoreInto(sheet_);
        recentLists_ = step.state->Lists();
        mergeKey_ = nullptr;
        ++serial_;
        lastCleared_ = {};
        lastClearedText_.clear();
        lastClearedEntries_.clear();
    }
    restoring_ = false;
}

bool CSheetHistory::Undo() {
    if (undo_.empty() || pending_ || sheet_.changeDepth_ > 0) {
        return false;
    }
    Restore(undo_, redo_);
    return true;
}

bool CSheetHistory::Redo() {
    if (redo_.empty() || pending_ || sheet_.changeDepth_ > 0) {
        return false;
    }
    Restore(redo_, undo_);
    return true;
}

CUndoStep::CUndoStep(CMarnelPropertySheet& sheet, const CParameterField* mergeKey) : sheet_(sheet) {
    sheet_.History().Open(mergeKey);
    sheet_.BeginChange();
}

CUndoStep::~CUndoStep() {
    sheet_.History().Describe(std::move(label_), answered_);
    sheet_.EndChange();
}

std::wstring AnswerLabel(const CParameterField& field) {
    std::wstring label = field.GetPrintableName() + L" = " + field.Value();
    if (FieldAs<const CPulldownListField>(&field) && !field.Value().empty()) {
        const std::wstring choice = ChoiceLabel(field);
        if (choice != field.Value()) {
            label += L" : " + choice;
        }
    }
    return label;
}
