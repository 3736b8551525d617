#include "catalog/RuleTable.h"

void AddSourcePdoRules(CRuleGroup& /*group*/) {}
void AddSinkPdoRules(CRuleGroup& /*group*/) {}
void AddSopSvidRules(CRuleGroup& /*group*/) {}
void AddSopModeRules(CRuleGroup& /*group*/) {}
void AddCableSvidRules(CRuleGroup& /*group*/) {}
void AddCableModeRules(CRuleGroup& /*group*/) {}
