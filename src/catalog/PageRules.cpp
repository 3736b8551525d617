#include "catalog/PageCatalog.h"
#include "catalog/RuleTable.h"

// The page fields' records, one for each row of the page catalog, in the catalog's order.
void AddPageFieldRules(CRuleGroup& group) {
    for (const SPageRow& page : PageCatalog()) {
        for (const SFieldRow& row : page.fields) {
            CRuleRecord record{row.Pattern(), row.availability, row.validity, row.onAvailable, row.refresh};
            record.filledBy = row.filledBy;
            record.evaluatedFirst = row.evaluatedFirst;
            record.marksProductTypeChange = row.marksProductTypeChange;
            group.Add(std::move(record));
        }
    }
}
