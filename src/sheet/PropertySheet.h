#pragma once

#include "catalog/GroupCatalog.h"
#include "catalog/PageCatalog.h"
#include "catalog/RuleTable.h"
#include "model/FieldList.h"
#include "model/ParameterField.h"
#include "sheet/PageSuper.h"
#include "sheet/Prompt.h"
#include "sheet/SheetHistory.h"
#include "sheet/SheetObserver.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CSheetSnapshot;

// How far a re-evaluation reaches.
struct SReevaluateOptions {
    // Every later field is evaluated, not only the changed field's dependants.
    bool initial = false;
    // First every refresh action runs (the first evaluation of a loaded file).
    bool fullReset = false;
};

// State that a layer above the sheet keeps with it until it is replaced or the sheet goes (the
// loader keeps the file it read and the old entries waiting for their upgrade).
class ISheetAttachment {
public:
    virtual ~ISheetAttachment() = default;
};

// The sheet without its window: every page field, the repeated-group lists, which tabs are shown
// and which page is active. Windows, when there are any, are views over it.
class CMarnelPropertySheet {
public:
    // A form of the program's own rules unless it is handed a table (tests hand theirs in).
    explicit CMarnelPropertySheet(IPrompt* prompt = nullptr,
                                  std::shared_ptr<const CRuleTable> rules = ProgramRules());
    CMarnelPropertySheet(const CMarnelPropertySheet&) = delete;
    CMarnelPropertySheet& operator=(const CMarnelPropertySheet&) = delete;
    ~CMarnelPropertySheet();

    // Registers every page's fields, links parents, orders the field vector, creates the group lists
    // and runs the first evaluation, leaving only the tabs the default answers call for.
    void Initialize();

    // ---- pages and tabs ----
    const std::vector<std::unique_ptr<CPageSuper>>& Pages() const { return pages_; }
    CPageSuper& Page(EPage page) const { return *pages_[static_cast<std::size_t>(page)]; }
    bool HasTab(EPage page) const { return hasTab_[static_cast<std::size_t>(page)]; }
    // The pages that are tabs, in tab order.
    std::vector<CPageSuper*> Tabs() const;
    CPageSuper& ActivePage() const { return Page(active_); }
    // Moves to a page as clicking its tab would: clears its review flag and marks it shown.
    void Activate(EPage page);
    // Whether a page that has been shown holds an answer: what loading a file or leaving without
    // saving would throw away, so the user is asked first.
    bool HasEnteredAnswers() const;

    // ---- fields ----
    // Every page field, parents before children.
    CFieldList& FieldVector() { return fieldVector_; }
    const CFieldList& FieldVector() const { return fieldVector_; }
    CParameterField* FindField(const std::wstring& name) const { return fieldVector_.FindField(name); }

    // ---- rules ----
    const CRuleTable& Rules() const { return *rules_; }
    const std::shared_ptr<const CRuleTable>& SharedRules() const { return rules_; }
    CGroupPrototypes& GroupPrototypes() { return prototypes_; }

    // ---- repeated groups ----
    // The list of a group type; a type without a list is std::out_of_range.
    CFieldGroupList& GetGroupList(EGroupType type) const;
    // The list of a group type, created empty when the sheet has none yet.
    CFieldGroupList& EnsureGroupList(EGroupType type);
    const std::map<EGroupType, std::unique_ptr<CFieldGroupList>>& GroupLists() const { return groupLists_; }
    void ClearAllGroups();

    // ---- evaluation ----
    // Re-evaluates from the field at `position` of the field vector: availability, group lists,
    // review flags and the tab set.
    void Reevaluate(std::size_t position, SReevaluateOptions options);
    void Reevaluate(CParameterField* changed);
    // Gives the program's answers (the version lines) the program's texts; `keepGiven` leaves those
    // that have one, as a load keeps what the file said.
    void FillProgramAnswers(bool keepGiven);
    // What a user's answer does: the field's page reactions, the new value, the re-evaluation.
    void ApplyUserChange(CParameterField* field, const std::wstring& value);
    // Makes this form, initialized with the same rules, hold what `other` holds: answers, lists,
    // tabs, review flags, the page shown and the load state's flags. The groups are copies linked
    // to this form's fields, so that answers tried here leave `other`, its history and its
    // observers alone. False, and nothing copied, when the two forms' questions differ.
    bool CopyStateFrom(const CMarnelPropertySheet& other);
    // Review flags are a window's business; the command-line tool switches them off.
    void SetReviewFlagsEnabled(bool on) { reviewEnabled_ = on; }
    bool ReviewFlagsEnabled() const { return reviewEnabled_; }

    // ---- load and save state ----
    // Whether the answers come from a loaded file; see SFormState.
    bool IsFileLoaded() const { return formState_.fileLoaded; }
    void SetFileLoaded(bool loaded) { formState_.fileLoaded = loaded; }
    const SFormState& FormState() const { return formState_; }
    ISheetAttachment* LoadState() const { return loadState_.get(); }
    void SetLoadState(std::unique_ptr<ISheetAttachment> state) { loadState_ = std::move(state); }
    IPrompt& Prompt() { return *prompt_; }
    const std::wstring& OutputFileName() const { return outputFileName_; }
    void SetOutputFileName(std::wstring name) { outputFileName_ = std::move(name); }
    const std::wstring& Title() const { return title_; }
    void SetTitle(std::wstring title) { title_ = std::move(title); }
    bool LeaveQuestionEnabled() const { return leaveQuestion_; }
    void SetLeaveQuestionEnabled(bool on) { leaveQuestion_ = on; }
    // Set after a successful save started by OK; the success box is shown only once.
    bool SuccessBoxFlag() const { return successBoxFlag_; }
    void SetSuccessBoxFlag(bool on) { successBoxFlag_ = on; }

    // ---- change notifications ----
    // Observers are told once per change what it did to tabs, fields, pages and lists. They are
    // not owned and must be removed before they are destroyed.
    void AddObserver(ISheetObserver* observer);
    void RemoveObserver(ISheetObserver* observer);
    // Everything done between the outermost BeginChange and its EndChange is announced as one
    // change; CSheetChangeScope pairs them.
    void BeginChange();
    void EndChange();

    // ---- undo ----
    CSheetHistory& History() { return history_; }
    const CSheetHistory& History() const { return history_; }

private:
    friend class CSheetHistory;
    friend class CSheetMemento;

    void LinkParents();
    void CreateGroupLists();

    std::unique_ptr<IPrompt> ownPrompt_;
    IPrompt* prompt_;
    std::shared_ptr<const CRuleTable> rules_;
    CGroupPrototypes prototypes_;
    std::wstring outputFileName_;
    std::wstring title_;
    std::vector<std::unique_ptr<CPageSuper>> pages_;
    std::vector<bool> hasTab_;
    EPage active_ = EPage::Intro;
    bool leaveQuestion_ = true;
    bool guard_ = false;
    bool reviewEnabled_ = true;
    bool successBoxFlag_ = false;
    // A new form: nothing loaded yet, so nothing to take back from a file.
    SFormState formState_;
    std::vector<std::unique_ptr<CParameterField>> fieldStore_;
    CFieldList fieldVector_;
    std::map<EGroupType, std::unique_ptr<CFieldGroupList>> groupLists_;
    // Shared with the undo history's states, so that taking a load back gives back what it replaced.
    std::shared_ptr<ISheetAttachment> loadState_;
    std::vector<ISheetObserver*> observers_;
    int changeDepth_ = 0;
    std::unique_ptr<CSheetSnapshot> before_;
    CSheetHistory history_{*this};
};

class CSheetChangeScope {
public:
    explicit CSheetChangeScope(CMarnelPropertySheet& sheet) : sheet_(sheet) { sheet_.BeginChange(); }
    ~CSheetChangeScope() { sheet_.EndChange(); }
    CSheetChangeScope(const CSheetChangeScope&) = delete;
    CSheetChangeScope& operator=(const CSheetChangeScope&) = delete;

private:
    CMarnelPropertySheet& sheet_;
};
