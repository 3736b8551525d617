#pragma once

#include "sheet/SheetObserver.h"

#include <memory>
#include <string>
#include <vector>

class CFieldList;
class CMarnelPropertySheet;
class CParameterField;

// What a view shows of each field of a list: its answer, whether it can be answered, its colour
// and its choices.
class CFieldStates {
public:
    explicit CFieldStates(const CFieldList& fields);
    // Appends the fields of `fields`, the list as it is now, whose shown state differs.
    void AddChanges(const CFieldList& fields, std::vector<SSheetChange::SField>& out) const;

private:
    struct SFieldState {
        std::wstring value;
        bool available;
        bool enabled;
        bool valid;
        std::shared_ptr<const std::vector<std::pair<int, std::wstring>>> choices;
    };
    static bool SameChoices(const SFieldState& was, const SFieldState& now);
    static SFieldState StateOf(const CParameterField& field);

    std::vector<SFieldState> states_;
};

// What a view shows of the sheet, taken before a change so that the change can be told apart
// from what stayed the same.
class CSheetSnapshot {
public:
    explicit CSheetSnapshot(const CMarnelPropertySheet& sheet);
    // What differs between this snapshot and the sheet as it is now.
    SSheetChange Compare(const CMarnelPropertySheet& sheet) const;

private:
    struct SPageState {
        bool tab;
        bool valid;
        bool review;
    };
    struct SListState {
        EGroupType type;
        bool valid;
        std::vector<std::wstring> lines;
        std::vector<bool> lineValid;
    };
    static std::vector<SListState> ListStates(const CMarnelPropertySheet& sheet);

    CFieldStates fields_;
    std::vector<SPageState> pages_;
    std::vector<SListState> lists_;
    EPage active_;
};
