#pragma once

// The kinds of repeated items of the form. The numbers are those the field lists and the saved
// files carry: 0 for no group, 1 for the page fields, then one per repeated item.
enum class EGroupType {
    None = 0,
    Page = 1,
    SourcePdo = 2,
    SinkPdo = 3,
    SopSvid = 4,
    SopMode = 5,
    CableSvid = 6,
    CableMode = 7,
};

// The number a field list keeps a group type as.
constexpr int TypeIdOf(EGroupType type) {
    return static_cast<int>(type);
}

// The type a field list's number stands for; a number that names no type of the form (a test's own
// types) stays itself and matches no row of the group-type table.
constexpr EGroupType GroupTypeOf(int typeId) {
    return static_cast<EGroupType>(typeId);
}

// Whether a type number is that of a repeated item (not None, not the page fields).
constexpr bool IsRepeatedGroupType(int typeId) {
    return typeId != TypeIdOf(EGroupType::None) && typeId != TypeIdOf(EGroupType::Page);
}
