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

// The number the saved files and the messages give a type as.
constexpr int NumberOf(EGroupType type) {
    return static_cast<int>(type);
}

// Whether a type is that of a repeated item (not None, not the page fields).
constexpr bool IsRepeatedGroupType(EGroupType type) {
    return type != EGroupType::None && type != EGroupType::Page;
}
