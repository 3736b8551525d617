#pragma once

#include "catalog/GroupCatalog.h"
#include "model/ParameterField.h"
#include "model/Predicates.h"

#include <initializer_list>

// The conditions, checks and actions of the repeated items' questions, which the group catalog names
// row by row. A range or step action keeps the bounds the field was made with, those of its row.
namespace grouprules {

// Asked for the PDO's supply types among `types`.
FieldPredicate SupplyTypeIs(const wchar_t* supplyType, std::initializer_list<ESupplyType> types);
// Of a pair of voltages, the minimum stays below the maximum in whole steps of the scale.
FieldPredicate MinBelowMax(const wchar_t* minimum, const wchar_t* maximum);
// An SVID or a recognition mask of all zeros identifies nothing.
extern const FieldPredicate IsNonZeroHex;
// The smallest and largest number of modes of one SVID: max at least min, equal when fixed.
FieldPredicate ModeCountIsConsistent(const SSvidNames& names);

// The first PDO of a list is always a Fixed supply, and always the 5 V one.
extern const FieldAction ForceFirstPdoFixed;
extern const FieldAction ForceFirstPdoFiveVolts;
// Supply type 3 states its voltages in 100 mV steps and its currents in 50 mA steps; the others in
// 50 mV and 10 mA steps. With `rescale`, an answer keeps its number of steps.
FieldAction VoltageSteps(const wchar_t* supplyType, bool rescale);
FieldAction CurrentSteps(const wchar_t* supplyType, bool rescale);
// The over-current threshold starts at the PDO's maximum current.
FieldAction OcThresholdRange(const wchar_t* maxCurrent, bool rescale);
// An under-voltage threshold is a voltage from 800 mV up to 95 % of the PDO's, or a percentage up to
// 95; without a type it takes no answer.
FieldAction UvThresholdRange(const wchar_t* thresholdType, const wchar_t* voltage, bool rescale);
// The mode counts wait for the answer whether the modes are fixed.
FieldAction CountsWaitForModesFixed(const wchar_t* modesFixed);

} // namespace grouprules
