#pragma once

#include "catalog/GroupCatalog.h"
#include "model/FieldList.h"
#include "model/FieldValues.h"

#include <cstdint>
#include <string>

// ---- reading answers ----

// The modes-fixed field of the SVID that owns a mode; a mode outside an SVID is a fieldlist_error
// "Couldn't find expected parent field: %s.".
const CParameterField& OwningModesFixed(const CFieldGroup& mode);

// ---- checks ----

// Every available field passes its validity rule.
bool AllAvailableFieldsValid(const CFieldGroup& group);
// A PDO is complete when its fields are valid, supply type 3 comes with PD revision 3.0, and the
// first PDO is Fixed 5000 mV.
bool IsPdoComplete(const SPdoNames& names, const CFieldGroup& pdo);
// Every PDO complete and as many PDOs as the page's count says.
bool IsPdoListComplete(const SPdoNames& names, const CFieldGroupList& list);
// An SVID is complete when its fields are valid and its modes are complete.
bool IsSvidComplete(const SSvidNames& names, const CFieldGroup& svid);
// Every SVID complete, as many as the page's maximum, and no SVID value twice.
bool IsSvidListComplete(const SSvidNames& names, const CFieldGroupList& list);
// Every mode valid, as many as the SVID's maximum, an enterable mode when the modes are fixed, and
// no two modes with the same mask AND value when they are not. A null list holds no modes.
bool IsModeListComplete(const SSvidNames& names, const CFieldGroup& svid, const CFieldGroupList* modes);

// ---- summary lines ----

std::wstring PdoSummary(const SPdoNames& names, const CFieldGroup& pdo);
std::wstring SvidSummary(const SSvidNames& names, const CFieldGroup& svid);
std::wstring ModeSummary(const SSvidNames& names, const CFieldGroup& mode);

// Sets the summary, group check and list check of a prototype of a repeated-group type.
void AttachGroupChecks(CGroupPrototype& prototype);
