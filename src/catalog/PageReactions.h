#pragma once

#include "catalog/PageCatalog.h"

#include <string>
#include <vector>

// One field a reaction listens to.
struct SReactingField {
    std::wstring namePattern;
    EChangeEvent event;
    // A field evaluated before the changed one (its sibling answer), or null.
    const wchar_t* evaluatedFirst = nullptr;
};

// What a page does when the user changes one of its fields: one row of the pages' reaction table.
struct SPageReaction {
    EPage page = EPage::Intro;
    std::vector<SReactingField> fields;
    // The standard reaction: the value goes into the field and the sheet re-evaluates from it. False
    // for the counts whose page only repaints (nothing depends on them); the headless sheet
    // evaluates after every answer all the same.
    bool reevaluates = true;
    // Text changes count only while the edited box has the keyboard focus.
    bool onlyWithFocus = false;
    // The cable page records the change of its product type (its latency list then starts empty).
    bool setsProductTypeFlag = false;
    // The page's group list is recoloured and its list box repainted.
    bool recoloursList = false;
    // The page's tab caption is repainted.
    bool repaintsTab = false;
    // Controls repainted afterwards, so that their colour follows the new answer.
    std::vector<const wchar_t*> repaintedControls;

    // The listened field with this name pattern; null when the row does not name it.
    const SReactingField* FieldOf(const std::wstring& namePattern) const;
};

// The reactions of every page, in the pages' order of the table.
const std::vector<SPageReaction>& PageReactions();
// The reaction to a change of the field with this name pattern; null for a field no page reacts to
// (the sheet still re-evaluates after such an answer).
const SPageReaction* FindPageReaction(const std::wstring& namePattern);
