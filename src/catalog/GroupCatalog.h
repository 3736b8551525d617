#pragma once

#include "catalog/GroupTypes.h"
#include "catalog/PageCatalog.h"
#include "model/FieldList.h"

class CRuleTable;

#include <map>
#include <memory>
#include <vector>

// The name patterns a PDO's rules and checks read. Source and Sink name their current and power
// fields differently; `peakCurrent` is null for a Sink PDO.
struct SPdoNames {
    EGroupType type;
    const wchar_t* supplyType;
    const wchar_t* peakCurrent;
    const wchar_t* voltage;
    const wchar_t* current; // Src_PDO_Max_Current / Snk_PDO_Op_Current
    const wchar_t* power;   // Src_PDO_Max_Power / Snk_PDO_Op_Power
    const wchar_t* minVoltage;
    const wchar_t* maxVoltage;
    const wchar_t* countField; // the page's Num_Src_PDOs / Num_Snk_PDOs
};

// The name patterns of one SVID family (SOP or cable) and its modes.
struct SSvidNames {
    EGroupType svidType;
    EGroupType modeType;
    const wchar_t* modalOperation; // the page field that lets the family exist
    const wchar_t* svid;
    const wchar_t* modesFixed;
    const wchar_t* minModes;
    const wchar_t* maxModes;
    const wchar_t* enter;
    const wchar_t* recogMask;
    const wchar_t* recogValue;
    const wchar_t* countField; // Num_SVIDs_max_SOP / Cable_num_SVIDs_max
};

const SPdoNames& SourcePdoNames();
const SPdoNames& SinkPdoNames();
const SSvidNames& SopSvidNames();
const SSvidNames& CableSvidNames();
// The family of an SVID or mode group type; null for any other type.
const SSvidNames* SvidNamesOf(EGroupType type);
// The names of a PDO type; null for any other type.
const SPdoNames* PdoNamesOf(EGroupType type);

// The questions of one repeated item of a group type, in creation order; empty for any other type.
const std::vector<SFieldRow>& GroupFieldRows(EGroupType type);
// The row of a group field, by name pattern or printable name; null when the type has no such field.
const SFieldRow* FindGroupFieldRow(EGroupType type, const std::wstring& name);

// The prototypes of a form's repeated-group types (2 to 7), their fields made with the records of
// the form's rule table. Each is built on first use and kept until Reset.
class CGroupPrototypes {
public:
    explicit CGroupPrototypes(std::shared_ptr<const CRuleTable> rules);

    // Types 0 and 1 are a filegen_error "Invalid group type: id = %d."; an unknown type "Couldn't
    // get group prototype: id = %d.".
    const CGroupPrototype& Get(EGroupType type);
    // Discards them; the next use builds them again (the loader does this at every load).
    void Reset();
    // Replaces or adds one prototype (tests use it for their own group types).
    void Set(const CGroupPrototype& prototype);

private:
    void EnsureBuilt();

    std::shared_ptr<const CRuleTable> rules_;
    bool built_ = false;
    std::map<EGroupType, CGroupPrototype> prototypes_;
};

// The form's group types, an SVID type carrying its modes' prototype.
void BuildGroupPrototypes(const std::shared_ptr<const CRuleTable>& rules, std::vector<CGroupPrototype>& out);
