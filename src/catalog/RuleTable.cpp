#include "catalog/RuleTable.h"

#include "logging/Logger.h"
#include "model/NamePattern.h"
#include "model/ParameterField.h"
#include "model/Text.h"

#include <regex>

bool AlwaysAvailable(const CParameterField* /*field*/) { return true; }

bool DefaultValidity(const CParameterField* field) { return field != nullptr && field->IsValid(); }

CRuleRecord& CRuleGroup::Add(CRuleRecord record) {
    if (!record.availability) {
        record.availability = AlwaysAvailable;
    }
    if (!record.validity) {
        record.validity = DefaultValidity;
    }
    records.push_back(std::move(record));
    return records.back();
}

CRuleTable& CRuleTable::Instance() {
    static CRuleTable table;
    return table;
}

void CRuleTable::Build() {
    if (built_) {
        return;
    }
    built_ = true;
    struct Definition {
        int typeId;
        int ownerTypeId;
        void (*add)(CRuleGroup&);
    };
    static const Definition kGroups[] = {
        {1, 0, AddPageFieldRules}, {2, 1, AddSourcePdoRules}, {3, 1, AddSinkPdoRules},
        {4, 1, AddSopSvidRules},   {5, 4, AddSopModeRules},   {6, 1, AddCableSvidRules},
        {7, 6, AddCableModeRules},
    };
    for (const Definition& d : kGroups) {
        CRuleGroup& group = groups_.emplace_back();
        group.typeId = d.typeId;
        group.ownerTypeId = d.ownerTypeId;
        d.add(group);
    }
}

const std::deque<CRuleGroup>& CRuleTable::Groups() {
    Build();
    return groups_;
}

CRuleGroup* CRuleTable::FindGroup(int typeId) {
    Build();
    for (CRuleGroup& group : groups_) {
        if (group.typeId == typeId) {
            return &group;
        }
    }
    return nullptr;
}

const CRuleRecord* CRuleTable::Lookup(int typeId, const std::wstring& name) {
    const CRuleGroup* group = FindGroup(typeId);
    if (!group) {
        return nullptr;
    }
    for (const CRuleRecord& record : group->records) {
        if (record.namePattern == name) {
            return &record;
        }
        try {
            if (CNamePattern::Of(record.namePattern).Match(name)) {
                return &record;
            }
        } catch (const std::regex_error& e) {
            Log(orvik::Format(L"regex_error: %S.\n", {orvik::FromCp1252(e.what())}));
        }
    }
    return nullptr;
}

const CRuleRecord* LookupRuleRecord(int typeId, const std::wstring& name) {
    return CRuleTable::Instance().Lookup(typeId, name);
}
