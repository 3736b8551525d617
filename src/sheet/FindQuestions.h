#pragma once

#include "catalog/PageCatalog.h"

#include <string>
#include <vector>

class CMarnelPropertySheet;
class CPageSuper;
class CParameterField;

// One question whose name or help text holds the searched text.
struct SQuestionMatch {
    EPage page = EPage::Intro;
    CParameterField* field = nullptr;
    // Asked with the current answers: its page has a tab and the question is available.
    bool asked = false;
};

// The page questions of every page, in page order and within a page in form order, whose name (as
// its label shows it) or help text holds `text`, ignoring case. Questions that are not asked with
// the current answers are among them, marked so. No text finds nothing.
std::vector<SQuestionMatch> FindQuestions(const CMarnelPropertySheet& sheet, const std::wstring& text);

// The name the question's label shows: its printable name without the leading '$'.
std::wstring QuestionName(const CParameterField& field);
// The help text the question's tool tip shows; empty when it has none.
std::wstring QuestionHelp(const CPageSuper& page, const CParameterField& field);
