#pragma once

#include <string>
#include <vector>

class CConsole;
class CMarnelPropertySheet;
class CPageSuper;

// What `check` prints: one line per tab, in tab order, "[ok] <tab>" or "[invalid] <tab>", each
// invalid tab followed by its problems, one indented line each.
class CCheckReport {
public:
    explicit CCheckReport(const CMarnelPropertySheet& sheet);

    bool AllValid() const { return allValid_; }
    const std::vector<std::wstring>& Lines() const { return lines_; }
    void Print(const CConsole& console) const;

private:
    void AddTab(const CPageSuper& page);

    bool allValid_ = true;
    std::vector<std::wstring> lines_;
};
