#include "catalog/GroupTypes.h"

#include <stdexcept>

const std::vector<SGroupTypeRow>& GroupTypeRows() {
    using T = EGroupType;
    using K = EGroupKind;
    // clang-format off
    static const std::vector<SGroupTypeRow> rows = {
        // type        kind     singular        plural          label           caption         short name    release notes: list                    item               owner         modes         limit
        {T::SourcePdo, K::Pdo,  L"Source PDO",  L"Source PDOs", L"Source PDOs", L"Source PDO",  L"PDO",       L"Source PDOs",                         L"Source PDO",     T::None,      T::None,      7},
        {T::SinkPdo,   K::Pdo,  L"Sink PDO",    L"Sink PDOs",   L"Sink PDOs",   L"Sink PDO",    L"PDO",       L"Sink PDOs",                           L"Sink PDO",       T::None,      T::None,      7},
        {T::SopSvid,   K::Svid, L"SVID",        L"SVIDs",       L"SOP SVIDs",   L"SOP SVID",    L"SVID",      L"SVIDs on SOP with their modes",       L"SVID on SOP",    T::None,      T::SopMode,   52},
        {T::SopMode,   K::Mode, L"SVID Mode",   L"SVID Modes",  L"SVID Modes",  L"Mode",        L"SVID Mode", nullptr,                                nullptr,           T::SopSvid,   T::None,      6},
        {T::CableSvid, K::Svid, L"SVID",        L"SVIDs",       L"Cable SVIDs", L"Cable SVID",  L"SVID",      L"cable SVIDs with their modes",        L"Cable SVID",     T::None,      T::CableMode, 52},
        {T::CableMode, K::Mode, L"SVID Mode",   L"SVID Modes",  L"SVID Modes",  L"Mode",        L"SVID Mode", nullptr,                                nullptr,           T::CableSvid, T::None,      6},
    };
    // clang-format on
    return rows;
}

const SGroupTypeRow* FindGroupTypeRow(EGroupType type) {
    for (const SGroupTypeRow& row : GroupTypeRows()) {
        if (row.type == type) {
            return &row;
        }
    }
    return nullptr;
}

const SGroupTypeRow& GroupTypeRow(EGroupType type) {
    if (const SGroupTypeRow* row = FindGroupTypeRow(type)) {
        return *row;
    }
    throw std::out_of_range("not a repeated-group type");
}

int GroupInstanceLimit(EGroupType type, std::size_t position) {
    const SGroupTypeRow* row = FindGroupTypeRow(type);
    if (!row) {
        return 0;
    }
    if (row->owner != EGroupType::None && position == 0) {
        return GroupTypeRow(row->owner).instanceLimit;
    }
    return row->instanceLimit;
}
