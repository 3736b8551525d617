#include "cli/CheckReport.h"

#include "cli/Console.h"
#include "sheet/Problems.h"
#include "sheet/PropertySheet.h"
#include "sheet/ReportLines.h"

CCheckReport::CCheckReport(const CMarnelPropertySheet& sheet) {
    for (const CPageSuper* page : sheet.Tabs()) {
        AddTab(*page);
    }
}

void CCheckReport::Print(const CConsole& console) const {
    for (const std::wstring& line : lines_) {
        console.Out(line);
    }
}

void CCheckReport::AddTab(const CPageSuper& page) {
    if (page.AreAnswersValid()) {
        lines_.push_back(ReportHeading(kOkVerdict, page.SectionCaption()));
        return;
    }
    allValid_ = false;
    lines_.push_back(ReportHeading(kInvalidVerdict, page.SectionCaption()));
    for (const SProblem& problem : CollectPageProblems(page)) {
        lines_.push_back(ReportDetail(problem.reason));
    }
}
