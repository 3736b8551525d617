#pragma once

#include "model/GroupType.h"

#include <cstddef>
#include <vector>

// What a repeated item is: a PDO, an SVID, or a mode of an SVID.
enum class EGroupKind { Pdo, Svid, Mode };

// One repeated-group type and every text the program calls its items by.
struct SGroupTypeRow {
    EGroupType type;
    EGroupKind kind;
    const wchar_t* singular;  // the list buttons' tips: "Add a new Source PDO to the list."
    const wchar_t* plural;    // "Defined Source PDOs."; a list's problem line: "Source PDOs: ..."
    const wchar_t* label;     // the list panel's label
    const wchar_t* caption;   // a dialog's title before the number: "Sink PDO 3", "... - Mode 2"
    const wchar_t* shortName; // a summary line or a problem before the number: "PDO 2", "SVID 1"
    const wchar_t* notesList; // the release notes: what a list page lists; null for modes
    const wchar_t* notesItem; // the release notes: an item's questions; null for modes
    EGroupType owner;         // the SVID type that owns a mode; None otherwise
    EGroupType modes;         // the mode type of an SVID; None otherwise
    int instanceLimit;        // the largest instance number of one item
};

// The rows of the repeated-group types, in the order of their numbers.
const std::vector<SGroupTypeRow>& GroupTypeRows();
// The row of a repeated-group type; None, Page and anything else is a std::out_of_range.
const SGroupTypeRow& GroupTypeRow(EGroupType type);
// The row of a repeated-group type, or null for None, Page and anything else.
const SGroupTypeRow* FindGroupTypeRow(EGroupType type);

// The largest instance number a group's name may carry at `position` among its numbers: a mode's
// first number is that of its SVID. 0 for anything that is not a repeated group.
int GroupInstanceLimit(EGroupType type, std::size_t position);
