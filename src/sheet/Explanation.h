#pragma once

#include "sheet/SheetHistory.h"

#include <string>
#include <vector>

class CMarnelPropertySheet;
class CParameterField;

// A choice that would clear answers the user gave if it were made now.
struct SClearingChoice {
    // As the explanation quotes it: "2 : DRP", "NO".
    std::wstring choice;
    // The answer that makes it, as a user's choice gives it: "2", "NO".
    std::wstring value;
    SClearedAnswers cleared;
};

// A question told in words: what it is, what it takes, why it is asked or not with the answers
// that decide it as they stand, what the program does to it and what it decides. All of it comes
// from the question's rule and field, so it says what the form does.
struct SExplanation {
    // As the file writes it: Connector_Type, Src_PDO_Voltage2.
    std::wstring name;
    // The tab the question is on, or would be on.
    std::wstring tab;
    std::wstring help;
    // "a number from 0 to 20000, typed in mV, stored in steps of 50", "one of 0 : Type-A, ...".
    std::wstring takes;
    bool asked = false;
    // Why the answer is red, in the problems panel's words ("RP_Value: missing"); empty when it
    // is not.
    std::wstring problem;
    // "Asked when `USB_PD_Support` is YES; now `USB_PD_Support` = YES." or
    // "Not asked: needs `Connector_Type` is 2; now `Connector_Type` = 0 : Type-A."
    std::wstring why;
    // "Valid when it is a multiple of 500 (of 1000 above 10000)."
    std::wstring validWhen;
    // What fixed an answer the user cannot change: "Fixed at 2 : DRP by the program: the choices
    // follow `PD_Port_Type`; now `PD_Port_Type` = 4 : DRP." or "Filled in by the program."; empty
    // for an answer the user gives.
    std::wstring fixedBy;
    // The choices of the question's full list it does not offer now, and why: "1 : Portable Device
    // is left out: the choices follow ...; now `Port_Battery_Powered` = NO."; empty when it offers
    // them all.
    std::wstring leftOut;
    // What the program does when the question is asked: "When asked: set to YES while ...".
    std::wstring whenAsked;
    // The questions whose rules read this one's answer, by tab: "`PD_Port_Type` (General PD Settings)".
    std::vector<std::wstring> decides;
    // For a choice the user can make now, the other choices that would clear answers, each with
    // what it would clear; tried only when the explanation is asked to (EExplainDepth).
    std::vector<SClearingChoice> clearedBy;
};

// How much an explanation finds out: trying the other choices costs a copy of the form, so a
// list of many questions (the find bar's) does without.
enum class EExplainDepth { Quick, ChoicesTried };

SExplanation Explain(const CMarnelPropertySheet& sheet, const CParameterField& field,
                     EExplainDepth depth = EExplainDepth::Quick);

// What the other choices of `field` would clear if the user made them now, tried one by one on a
// copy of the form: the user's form, its history and its observers are left as they are. Nothing
// for a question the user cannot answer now, one without choices and a repeated item's question.
std::vector<SClearingChoice> ClearingChoices(const CMarnelPropertySheet& sheet, const CParameterField& field);

// The question to go to for one that is not asked: the first parent its rule reads, in the order
// the explanation names them, whose answer keeps it hidden (another answer of it alone would have
// it asked) and which is asked itself. When none is asked, the question that decides the first of
// them, and so on up. When no single answer would do (two parents must change), every parent read
// counts as keeping it hidden. Null for a question that is asked or that no asked question decides.
CParameterField* DecidingParent(const CMarnelPropertySheet& sheet, const CParameterField& field);

// An answer as the explanation quotes it: "YES", "2 : USB Type-C", "(none)".
std::wstring AnswerWords(const CParameterField& field);

// The explanation as lines of text, as `orvik explain` prints it.
std::vector<std::wstring> ExplanationLines(const SExplanation& explanation);
