#include "catalog/RuleTable.h"

void AddPageFieldRules(CRuleGroup& /*group*/) {}
