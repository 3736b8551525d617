#include "cli/Usage.h"

namespace {

const wchar_t kOverview[] = LR"(orvik - fill in, check and write Marnel files (Orvik) from the command line.

Commands:
  orvik check FILE              Load FILE and report, tab by tab, what is missing or invalid.
  orvik print FILE              Load FILE and write the file a save would write to standard output.
  orvik save FILE [--dir DIR]   Load FILE, check it and save it under the name built from its
                                answers in DIR (default: the current directory).
  orvik new [--set NAME=VALUE]... [--print | --save DIR]
                                Start a new form, answer questions as a user would, then check,
                                print or save it.
  orvik fields                  List every question: tab, name, kind, range, units and choices.
  orvik diff A B [--brief]      Load files A and B and list, tab by tab, the answers that differ.
  orvik explain NAME [FILE]     Explain a question: what it takes, why it is asked or not with the
                                answers of FILE (default: a new form), what it decides.
  orvik COMMAND --help          Explain one command.

Loader diagnostics and messages go to standard error, one per line.

Exit codes:
  0  success, every tab valid (diff: the answers are the same)
  1  the form is incomplete or holds invalid answers (diff: the answers differ)
  2  bad command line, unreadable file, refused answer, or any other error
  3  the file could not be written
)";

const wchar_t kCheck[] = LR"(orvik check FILE

Loads FILE as the Load button does (retired names are upgraded) and prints one line per tab, in
tab order:
  [ok] <tab>
  [invalid] <tab>
Each invalid tab is followed by one indented line per invalid answer,
  <name>: <reason>
where the reason is "missing", "invalid value "X"" with what the field accepts, or "value "X" not
accepted" when a rule of the form rejects it, and by one line per list that is not complete (PDOs,
SVIDs, modes) or page rule that fails.

Exit codes: 0 every tab valid, 1 some tab invalid, 2 FILE cannot be read.
)";

const wchar_t kPrint[] = LR"(orvik print FILE

Loads FILE and writes to standard output exactly the bytes a save would write (Windows-1252, CR LF
line ends), without checking the answers.

Exit codes: 0 written, 2 FILE cannot be read, 3 standard output cannot be written.
)";

const wchar_t kSave[] = LR"(orvik save FILE [--dir DIR]

Loads FILE, checks every tab and saves the form as <vendor>__<model>__<revision>__<TID>[__<port
label>].txt in DIR (default: the current directory), then prints that name.

Exit codes: 0 saved, 1 the form is incomplete (the problems are printed as check prints them),
2 FILE cannot be read, 3 the file cannot be written.
)";

const wchar_t kNew[] = LR"(orvik new [--set NAME=VALUE]... [--print | --save DIR]

Starts from a new form and applies each --set in order, as a user would in the window; each answer
re-evaluates which questions are asked.
  NAME   the name written in the file: $Vendor_Name, Connector_Type, Src_PDO_Voltage2,
         SVID1_mode2_enter_SOP. Naming a PDO, SVID or mode creates the items up to its numbers.
  VALUE  what the user types or picks: numbers in the units shown by 'orvik fields' (mV, mA, mW),
         hexadecimal digits without 0x, YES or NO, a choice's number.
Answering a question that is not asked at that point, one fixed by other answers, or a name that
does not exist is an error (exit 2).

Then:
  --print     write the file's bytes to standard output (as 'orvik print')
  --save DIR  check and save the file in DIR (as 'orvik save')
  neither     print the check report (as 'orvik check')
)";

const wchar_t kFields[] = LR"(orvik fields

Lists every question of the form, one per line, tab-separated:
  <tab>  <name>  <kind and its limits>  <choices>  <rule>
where the rule says in words when the question is asked, when its answer is valid and what the
program does to it when it is asked (as 'orvik explain' says it).
Names of PDO, SVID and mode questions show their numbers as ([0-9]+). Numbers are typed in the
units shown; the file holds them divided by the scale.
)";

const wchar_t kDiff[] = LR"(orvik diff A B [--brief]

Loads files A and B as the Load button does (retired names are upgraded, so an old name and its
new name compare equal) and prints, for each tab in tab order that has a difference,
  [changed] <tab>
followed by one indented line per answer that differs,
  <name>: <answer in A> -> <answer in B>
where (none) stands for a question not answered on that side. A list tab then compares its PDOs
or SVIDs and their modes by number, each line led by the item,
  Source PDO 2: Src_PDO_Voltage2: 5000 -> 9000
  SOP SVID 1 - Mode 2: SVID1_mode2_enter_SOP: YES -> NO
and an item on one side only is announced as "Source PDO 3: added" or "...: removed" before its
answers. Answers are shown as the form holds them: numbers in the units shown by 'orvik fields',
choices by their number, free text in double quotes. The producer and specification lines, which
every save writes anew, are not compared.

  --brief  print only "Files A and B differ", and nothing when they do not

Exit codes: 0 the answers are the same, 1 they differ, 2 A or B cannot be read.
)";

const wchar_t kExplain[] = LR"(orvik explain NAME [FILE]

Explains one question, named as the file writes it ($Vendor_Name, Connector_Type, Src_PDO_Voltage2,
SVID1_mode2_enter_SOP), with the answers of FILE, or of a new form when no FILE is given:
  <name> (<tab>)
    <help text>
    Takes <what it takes: kind, range, units, steps or choices>.
    Asked when <condition>; now <the answers it reads, as they stand>.
      or: Not asked: needs <condition>; now <those answers>.
    Fixed at <answer> by the program: <what sets it>; now <the answers it reads>.
      (only for an answer the user cannot change; "Filled in by the program." for the file's
      own header lines)
    <choices> are left out: <what chooses the others>; now <the answers it reads>.
      (only for a choice question offering fewer than all of its choices)
    Valid when <check>.
    When asked: <what the program does to it>.
    Decides: <the questions whose rules read it, with their tabs>
    A different answer would clear now: <choice> clears <answers and items> on <tabs>; ...
      (only for a choice the user can make now, and only the choices that clear something)
A PDO, SVID or mode that FILE does not hold is made, as 'orvik new --set' makes it.

Exit codes: 0 explained, 2 no such question or FILE cannot be read.
)";

} // namespace

std::wstring CUsage::UsageLine() {
    return L"usage: orvik {check|print|save|new|fields|diff|explain} [ARGUMENTS] (orvik --help explains "
           L"them)";
}

std::wstring CUsage::Help(ECommand command) {
    switch (command) {
    case ECommand::Check:
        return kCheck;
    case ECommand::Print:
        return kPrint;
    case ECommand::Save:
        return kSave;
    case ECommand::New:
        return kNew;
    case ECommand::Fields:
        return kFields;
    case ECommand::Diff:
        return kDiff;
    case ECommand::Explain:
        return kExplain;
    case ECommand::None:
        break;
    }
    return kOverview;
}
