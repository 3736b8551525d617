#pragma once

#include <string>
#include <vector>

class CFieldGroupList;
class CMarnelPropertySheet;
class CPageSuper;

// What `check` prints: one line per tab, in tab order, "[ok] <tab>" or "[invalid] <tab>", each
// invalid tab followed by its invalid answers, incomplete lists and failing page rules.
class CCheckReport {
public:
    explicit CCheckReport(const CMarnelPropertySheet& sheet);

    bool AllValid() const { return allValid_; }
    const std::vector<std::wstring>& Lines() const { return lines_; }
    void Print() const;

private:
    void AddTab(const CPageSuper& page);
    void AddGroupFields(const CFieldGroupList& list);
    void AddProblem(const std::wstring& text);

    const CMarnelPropertySheet& sheet_;
    bool allValid_ = true;
    std::vector<std::wstring> lines_;
};
