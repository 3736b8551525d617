#include "catalog/GroupCatalog.h"
#include "catalog/GroupChecks.h"
#include "catalog/RuleTable.h"
#include "model/FieldKinds.h"
#include "model/FieldList.h"

#include <memory>

namespace {

// The catalog's fields of one group type, built once per registry and shared by every list made
// from it: a list keeps the factory, and with it these fields, alive after a reload.
std::shared_ptr<const CFieldList> MakePrototypeFields(int typeId) {
    auto fields = std::make_shared<CFieldList>(true);
    const bool isPdo = typeId == kSourcePdoType || typeId == kSinkPdoType;
    int index = 0;
    for (const SFieldRow& row : GroupFieldRows(typeId)) {
        std::unique_ptr<CParameterField> field =
            CreateField(row, nullptr, nullptr, 1000 + index, 2000 + index, typeId);
        if (auto* number = dynamic_cast<CNumEditField*>(field.get()); number && isPdo) {
            // A PDO's numbers are written with their value in the units the user typed.
            number->SetScaleAndUnits(row.scale, row.units);
        }
        fields->Append(field.release());
        ++index;
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

CGroupPrototype MakePrototype(int typeId, int childTypeId) {
    CGroupPrototype prototype;
    prototype.typeId = typeId;
    prototype.childTypeId = childTypeId;
    AttachGroupChecks(prototype);
    prototype.initializer = [](CFieldGroupList&) {};
    std::shared_ptr<const CFieldList> fields = MakePrototypeFields(typeId);
    prototype.fieldFactory = [fields](CFieldList& list) { PopulateGroupFields(*fields, list); };
    return prototype;
}

} // namespace

void BuildGroupPrototypes(std::vector<CGroupPrototype>& out) {
    out.push_back(MakePrototype(kSourcePdoType, 0));
    out.push_back(MakePrototype(kSinkPdoType, 0));
    out.push_back(MakePrototype(kSopSvidType, kSopModeType));
    out.push_back(MakePrototype(kSopModeType, 0));
    out.push_back(MakePrototype(kCableSvidType, kCableModeType));
    out.push_back(MakePrototype(kCableModeType, 0));
}
