#pragma once

#include "catalog/PageCatalog.h"

#include <string>
#include <vector>

class CMarnelPropertySheet;
class CPageSuper;
class CParameterField;

// One question whose name or help text holds the searched text: a page question, or a question of
// a list item (a PDO, an SVID, a mode of an SVID).
struct SQuestionMatch {
    // The tab the question is on; for an item's, the tab of the item's list (a mode's is its SVID's).
    EPage page = EPage::Intro;
    CParameterField* field = nullptr;
    // Asked with the current answers: its page has a tab and the question is available.
    bool asked = false;
    // The place of the question's item, outermost first: {1} is the second line of the tab's list,
    // {0, 2} the third mode of the first SVID. Empty for a page question.
    std::vector<int> item;
    // The item as its dialog's title names it: "Source PDO 2", "SOP SVID 1 - Mode 3"; empty for a
    // page question.
    std::wstring itemName;
};

// Where Enter on a match goes. A page question: itself when asked; when not, the asked question
// whose answer keeps it hidden (DecidingParent), null when there is none. An item's question: the
// dialog of `item` (the question's item, or the SVID of a mode whose question the SVID's answer
// keeps hidden) at `field`, the question of that item that keeps it hidden, else itself. Found
// when Enter is pressed, not for every match of a search: it tries other answers.
struct SMatchTarget {
    CParameterField* field = nullptr;
    std::vector<int> item;
};
SMatchTarget MatchTarget(const CMarnelPropertySheet& sheet, const SQuestionMatch& match);

// The questions of every page, in page order, whose name (as its label shows it) or help text holds
// `text`, ignoring case: within a page the page questions in form order, then those of the items
// of its list in list order, each SVID's modes after it. Questions that are not asked with the
// current answers are among them, marked so. No text finds nothing.
std::vector<SQuestionMatch> FindQuestions(const CMarnelPropertySheet& sheet, const std::wstring& text);

// What the find bar calls a match: "RP_Value (USB Type-C)", "Src_PDO_Peak_Current (Source PDO 2,
// Source Capabilities)". An item's question is named without the item's number, which the item's
// name gives.
std::wstring MatchWords(const CMarnelPropertySheet& sheet, const SQuestionMatch& match);

// The name the question's label shows: its printable name without the leading '$'.
std::wstring QuestionName(const CParameterField& field);
// The help text the question's tool tip shows; empty when it has none.
std::wstring QuestionHelp(const CPageSuper& page, const CParameterField& field);
