#pragma once

#include "catalog/PageCatalog.h"

#include <string>
#include <vector>

class CMarnelPropertySheet;
class CPageSuper;
class CParameterField;

// One thing that keeps a tab's answers from being complete: an invalid answer, a failing list or
// a failing rule of the page.
struct SProblem {
    // The tab the problem is on.
    EPage page = EPage::Intro;
    // The answer at fault, on the page or in a group; null for a list or page rule problem.
    CParameterField* field = nullptr;
    // The group list of the tab (for a problem inside a group, of the whole list, or of an SVID's
    // modes) and the position in it (0-based) of the group concerned; -1 for both when the problem
    // is not about a list, and -1 for the index when it is about the list as a whole.
    EGroupType groupListType = EGroupType::None;
    int groupIndex = -1;
    // The line `orvik check` prints for it, without its indentation: "RP_Value: missing",
    // "Source PDOs: list incomplete: PDO 2 incomplete".
    std::wstring reason;
};

// Every problem of the present tabs, grouped by tab in tab order. Within a tab: its invalid
// answers in page order, those of its groups in list order (the modes of an SVID after the SVID),
// its list problems, then its page rule problems. A tab whose answers are valid has none. Review
// flags play no part: only the answers count.
std::vector<SProblem> CollectProblems(const CMarnelPropertySheet& sheet);
// Every reason the window refuses a save, grouped by tab in tab order: each tab's problems as
// above, then, for a tab flagged for review, "not yet reviewed since the load" (or "since a change
// on another tab", or "not yet reviewed" for the form as it started).
std::vector<SProblem> CollectSaveRefusals(const CMarnelPropertySheet& sheet);
// The problems of one page, in the order above; none when its answers are valid.
std::vector<SProblem> CollectPageProblems(const CPageSuper& page);

// Why an available answer fails its check, in a few words: "missing", "invalid value \"7\"
// (choices: ...)", "value \"15500\" not accepted with the other answers".
std::wstring FieldProblemReason(const CParameterField& field);
