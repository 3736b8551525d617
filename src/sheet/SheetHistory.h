#pragma once

#include "model/GroupType.h"
#include <cstddef>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CMarnelPropertySheet;
class CParameterField;
class CSheetMemento;
struct SSavedList;

// What a user's choice threw away: answers the user gave (not those the program set or forced) and
// groups the user defined, and on how many tabs.
struct SClearedAnswers {
    std::size_t answers = 0;
    // Group type and how many of its groups went, in type order.
    std::vector<std::pair<EGroupType, std::size_t>> groups;
    std::size_t tabs = 0;

    bool Empty() const { return answers == 0 && groups.empty(); }
};

// What going from `before` to `after`, a form of the same rules, cleared, counted as the history
// counts a user's choice: `after` may be a copy of `before` the choice was tried on.
SClearedAnswers ClearedBetween(const CMarnelPropertySheet& before, const CMarnelPropertySheet& after);

// What was cleared, as the cleared-answers bar counts it: "37 answers and 4 Source PDOs on 3 tabs".
std::wstring ClearedWords(const SClearedAnswers& cleared);

// One answer or list item a user's choice threw away, as the cleared-answers bar lists it.
struct SClearedEntry {
    std::wstring tab;      // the label of the tab it was on
    std::wstring name;     // "Vendor_Name", "Source PDO 3"
    std::wstring oldValue; // "Acme", "4 : DRP"; an item's list line
};

// The form's undo and redo: a bounded stack of the sheet's states taken before each user change.
// It holds the sheet's own state (answers, lists, tab set, review flags, the page the user was on),
// never a widget's, and lasts as long as the run.
class CSheetHistory {
public:
    static constexpr std::size_t kDefaultLimit = 200;

    explicit CSheetHistory(CMarnelPropertySheet& sheet, std::size_t limit = kDefaultLimit);
    ~CSheetHistory();
    CSheetHistory(const CSheetHistory&) = delete;
    CSheetHistory& operator=(const CSheetHistory&) = delete;

    // Off until a window switches it on: the command-line tool keeps no history.
    void SetEnabled(bool on);
    bool Enabled() const { return enabled_; }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // What the next undo or redo takes back: "PD_Port_Type = 4 : DRP", "Add Source PDO 3".
    std::wstring UndoLabel() const;
    std::wstring RedoLabel() const;
    std::size_t UndoDepth() const { return undo_.size(); }

    // Puts the sheet back as it was before the last change, announced as one change; false when
    // there is nothing to undo (or a step is open).
    bool Undo();
    bool Redo();
    void Clear();

    // Typing in one box is one step until the user leaves the box.
    void EndMerge() { mergeKey_ = nullptr; }

    // Counts every step kept, undone or redone, so that a view can tell a new step from a change
    // that was none (a tab clicked).
    std::size_t Serial() const { return serial_; }
    // What the last step cleared; empty unless that step was a user's answer.
    const SClearedAnswers& LastCleared() const { return lastCleared_; }
    // "Choosing DRP for PD_Port_Type cleared 37 answers and 4 Source PDOs on 3 tabs."; empty when
    // the last step cleared nothing.
    const std::wstring& LastClearedText() const { return lastClearedText_; }
    // What LastCleared counts, one entry each, tab by tab in the form's order, on one tab in the sheet's;
    // empty when the last step cleared nothing.
    const std::vector<SClearedEntry>& LastClearedEntries() const { return lastClearedEntries_; }

    // ---- used by CUndoStep and the sheet ----
    // Takes the sheet's state before the outermost step; a step inside a change that is not one
    // belongs to that change.
    void Open(const CParameterField* mergeKey);
    void Describe(std::wstring label, const CParameterField* answered);
    // Whether the answers differ from those of the open step's state: also an answer no view
    // shows, such as a group's field that its list line leaves out.
    bool AnswersChanged() const;
    // At the end of the outermost change: keeps the open step when the sheet changed.
    void Close(bool changed);

private:
    struct SStep {
        std::unique_ptr<CSheetMemento> state;
        std::wstring label;
    };
    void Restore(std::deque<SStep>& from, std::deque<SStep>& to);
    void CountCleared(const CSheetMemento& before, const CParameterField* answered);

    CMarnelPropertySheet& sheet_;
    std::size_t limit_;
    bool enabled_ = false;
    bool restoring_ = false;
    std::unique_ptr<CSheetMemento> pending_;
    std::wstring pendingLabel_;
    const CParameterField* pendingAnswered_ = nullptr;
    const CParameterField* pendingMergeKey_ = nullptr;
    const CParameterField* mergeKey_ = nullptr;
    // The lists of the state taken last, shared by the next one where they are still the same.
    std::map<EGroupType, std::shared_ptr<const SSavedList>> recentLists_;
    std::deque<SStep> undo_;
    std::deque<SStep> redo_;
    std::size_t serial_ = 0;
    SClearedAnswers lastCleared_;
    std::wstring lastClearedText_;
    std::vector<SClearedEntry> lastClearedEntries_;
};

// One user change as one undo step: a typed answer, a choice, a list operation or a load. Steps
// inside a step belong to it. Typing in the same box (`mergeKey`) again adds to the step before.
class CUndoStep {
public:
    explicit CUndoStep(CMarnelPropertySheet& sheet, const CParameterField* mergeKey = nullptr);
    ~CUndoStep();
    CUndoStep(const CUndoStep&) = delete;
    CUndoStep& operator=(const CUndoStep&) = delete;

    void SetLabel(std::wstring label) { label_ = std::move(label); }
    // The step is a user's answer to `field`: what its re-evaluation cleared is counted.
    void SetAnswered(const CParameterField* field) { answered_ = field; }

private:
    CMarnelPropertySheet& sheet_;
    std::wstring label_;
    const CParameterField* answered_ = nullptr;
};

// How an undo step names a user's answer: "PD_Port_Type = 4 : DRP", "Vendor_Name = Acme".
std::wstring AnswerLabel(const CParameterField& field);
