#pragma once

#include "sheet/SheetObserver.h"

#include <memory>
#include <string>
#include <vector>

class CMarnelPropertySheet;
class CParameterField;

// What a view shows of the sheet, taken before a change so that the change can be told apart
// from what stayed the same.
class CSheetSnapshot {
public:
    explicit CSheetSnapshot(const CMarnelPropertySheet& sheet);
    // What differs between this snapshot and the sheet as it is now.
    SSheetChange Compare(const CMarnelPropertySheet& sheet) const;

private:
    struct SFieldState {
        std::wstring value;
        bool available;
        bool valid;
        std::vector<std::pair<int, std::wstring>> choices;
    };
    struct SPageState {
        bool tab;
        bool valid;
        bool review;
    };
    struct SListState {
        int type;
        bool valid;
        std::vector<std::wstring> lines;
        std::vector<bool> lineValid;
    };
    static SFieldState FieldState(const CParameterField& field);
    static std::vector<SListState> ListStates(const CMarnelPropertySheet& sheet);

    std::vector<SFieldState> fields_;
    std::vector<SPageState> pages_;
    std::vector<SListState> lists_;
    EPage active_;
};
