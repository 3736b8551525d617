#pragma once

#include <string>
#include <vector>

class CConsole;
class CFieldGroup;
class CFieldGroupList;
class CFieldList;
class CMarnelPropertySheet;
class CPageSuper;
class CParameterField;

// What `diff` prints: the answers in which two forms differ, tab by tab in the form's page order.
// A tab with a difference gets a heading, "[changed] <tab>", and under it one indented line per
// answer, "<name>: <answer in A> -> <answer in B>", an unanswered side shown as "(none)"; then, on
// a list tab, its PDOs or SVIDs by number, each line led by the item's caption ("Source PDO 2: ",
// "SOP SVID 1 - Mode 2: "), an item on one side only announced as added or removed. Answers are
// the texts the form holds, free text in double quotes as the file has it.
class CFormDiff {
public:
    CFormDiff(const CMarnelPropertySheet& a, const CMarnelPropertySheet& b);

    bool Same() const { return lines_.empty(); }
    const std::vector<std::wstring>& Lines() const { return lines_; }
    void Print(const CConsole& console) const;

private:
    void AddPage(const CPageSuper& a, const CPageSuper& b);
    // The fields of `a` and `b`, lists of the same questions in the same order; either may be null
    // (an item on one side only).
    void AddFields(const std::wstring& lead, const CFieldList* a, const CFieldList* b);
    void AddField(const std::wstring& lead, const CParameterField* a, const CParameterField* b);
    // The items of two lists of one type, paired by number; either list may be null.
    void AddGroups(const std::wstring& lead, const CFieldGroupList* a, const CFieldGroupList* b);
    void AddGroup(const std::wstring& caption, const CFieldGroup* a, const CFieldGroup* b);

    std::vector<std::wstring> lines_;
    // The lines of the tab being compared, headed once the first difference is found.
    std::vector<std::wstring> tab_;
};
