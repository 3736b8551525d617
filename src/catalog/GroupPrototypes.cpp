#include "catalog/GroupCatalog.h"
#include "catalog/GroupChecks.h"
#include "catalog/RuleTable.h"
#include "model/Errors.h"
#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "text/Text.h"

#include <map>
#include <memory>

namespace {

// The catalog's fields of one group type, built once per registry and shared by every list made
// from it: a list keeps the factory, and with it these fields, alive after a reload.
std::shared_ptr<const CFieldList> MakePrototypeFields(const CRuleTable& rules, EGroupType type) {
    auto fields = std::make_shared<CFieldList>(true);
    const bool isPdo = type == EGroupType::SourcePdo || type == EGroupType::SinkPdo;
    for (const SFieldRow& row : GroupFieldRows(type)) {
        std::unique_ptr<CParameterField> field = CreateField(row, rules, nullptr, nullptr, type);
        if (auto* number = FieldAs<CNumEditField>(field.get()); number && isPdo) {
            // A PDO's numbers are written with their value in the units the user typed.
            number->SetScaleAndUnits(row.scale, row.units);
        }
        fields->Append(field.release());
    }
    return fields;
}

CParameterField* OwnField(const CFieldList& list, const std::wstring& pattern) {
    for (CParameterField* f : list) {
        if (f->NamePattern() == pattern) {
            return f;
        }
    }
    return nullptr;
}

// Completes a group's list with copies of the missing prototype fields, then links every field to
// the fields its rules read: in the group first, then outwards (the SVID of a mode, the page fields).
// A parent brings its own parents along, so a change of any ancestor reaches the field.
void PopulateGroupFields(const CFieldList& prototypes, CFieldList& list) {
    for (const CParameterField* prototype : prototypes) {
        if (OwnField(list, prototype->NamePattern())) {
            continue;
        }
        std::unique_ptr<CParameterField> field = prototype->Clone();
        field->CopyFrom(*prototype);
        list.Append(field.release());
    }
    for (CParameterField* field : list) {
        for (const std::wstring& name : field->Rule().reads) {
            CParameterField* parent = list.FindFieldInScope(name);
            if (parent && parent != field) {
                field->AddParentAndItsParents(parent);
            }
        }
    }
}

CGroupPrototype MakePrototype(const std::shared_ptr<const CRuleTable>& rules, EGroupType type,
                              EGroupType childType) {
    CGroupPrototype prototype;
    prototype.type = type;
    prototype.childType = childType;
    AttachGroupChecks(prototype);
    prototype.initializer = [](CFieldGroupList&) {};
    std::shared_ptr<const CFieldList> fields = MakePrototypeFields(*rules, type);
    // The fields point into the rule table: the factory keeps it alive with them.
    prototype.fieldFactory = [fields, rules](CFieldList& list) {
        (void)rules;
        PopulateGroupFields(*fields, list);
    };
    return prototype;
}

} // namespace

void BuildGroupPrototypes(const std::shared_ptr<const CRuleTable>& rules, std::vector<CGroupPrototype>& out) {
    auto sopMode =
        std::make_shared<const CGroupPrototype>(MakePrototype(rules, EGroupType::SopMode, EGroupType::None));
    auto cableMode = std::make_shared<const CGroupPrototype>(
        MakePrototype(rules, EGroupType::CableMode, EGroupType::None));
    out.push_back(MakePrototype(rules, EGroupType::SourcePdo, EGroupType::None));
    out.push_back(MakePrototype(rules, EGroupType::SinkPdo, EGroupType::None));
    out.push_back(MakePrototype(rules, EGroupType::SopSvid, EGroupType::SopMode));
    out.back().child = sopMode;
    out.push_back(*sopMode);
    out.push_back(MakePrototype(rules, EGroupType::CableSvid, EGroupType::CableMode));
    out.back().child = cableMode;
    out.push_back(*cableMode);
}

CGroupPrototypes::CGroupPrototypes(std::shared_ptr<const CRuleTable> rules) : rules_(std::move(rules)) {}

void CGroupPrototypes::EnsureBuilt() {
    if (built_) {
        return;
    }
    built_ = true;
    std::vector<CGroupPrototype> prototypes;
    BuildGroupPrototypes(rules_, prototypes);
    for (CGroupPrototype& p : prototypes) {
        prototypes_[p.type] = std::move(p);
    }
}

const CGroupPrototype& CGroupPrototypes::Get(EGroupType type) {
    if (!IsRepeatedGroupType(type)) {
        throw filegen_error(
            orvik::Format(L"Invalid group type: id = %d.", {orvik::ToWideSigned(NumberOf(type))}));
    }
    EnsureBuilt();
    auto it = prototypes_.find(type);
    if (it == prototypes_.end()) {
        throw filegen_error(
            orvik::Format(L"Couldn't get group prototype: id = %d.", {orvik::ToWideSigned(NumberOf(type))}));
    }
    return it->second;
}

void CGroupPrototypes::Reset() {
    prototypes_.clear();
    built_ = false;
}

void CGroupPrototypes::Set(const CGroupPrototype& prototype) {
    EnsureBuilt();
    prototypes_[prototype.type] = prototype;
}
