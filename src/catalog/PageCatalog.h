#pragma once

#include "catalog/GroupTypes.h"
#include "model/FieldKinds.h"
#include "model/FieldName.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CFieldGroup;
class CRuleTable;
class CWndWrapper;

// The tabs of the sheet, in their fixed order.
enum class EPage {
    Intro,
    OrvikProduct,
    General,
    UsbTypeC,
    ProductPower,
    UsbHost,
    UsbDevice,
    BC12,
    Source,
    Sink,
    DualRole,
    SOPDiscovery1,
    SOPDiscovery2,
    AMA,
    Cables1,
    Cables2,
    Retimer,
};
constexpr int kPageCount = 17;

enum class EFieldKind { Text, Hex, Number, Choice, YesNo };

// One question of the catalog: how the field is built and what its help says.
struct SFieldRow {
    std::wstring name; // as written in the file: $Vendor_Name, Connector_Type, Src_PDO_Voltage([0-9]+)
    EFieldKind kind = EFieldKind::Text;
    unsigned digits = 0; // hex: exact number of digits
    unsigned long long minimum = 0;
    unsigned long long maximum = 0;
    unsigned scale = 1;
    std::wstring units;  // written in the file's comment after a PDO's number
    COptionList choices; // empty where an action builds the list
    // Where an action builds the list: every choice it may offer, so that those it leaves out can
    // be told. Empty where it has no one list to choose from.
    COptionList actionChoices;
    std::wstring note; // appended to the prompt of a number or digit string
    std::wstring help; // tool tip
    // The unit the user types a number in, shown beside its box and in its tip, where `units` does
    // not say it: a page number the file writes without a comment, or the file's old spelling.
    // Empty: the field's own units, as its rules set them.
    std::wstring shownUnit;
    // The field's rule: when it is asked, when its answer is acceptable, what happens when it becomes
    // available and on every full refresh. Empty conditions take the rule table's defaults.
    FieldPredicate availability;
    FieldPredicate validity;
    FieldAction onAvailable;
    FieldAction refresh;
    // What the sheet does on a user's answer besides re-evaluating from it: the answer of a sibling
    // evaluated first (a count checked against another), or null; and whether the answer marks the
    // change of a cable's product type, after which its latency list starts empty.
    const wchar_t* evaluatedFirst = nullptr;
    bool marksProductTypeChange = false;
    // What the program fills in for the answer; null for the user's answers.
    std::wstring (*filledBy)() = nullptr;

    std::wstring Pattern() const;
    // The same row, its box showing `unit`.
    SFieldRow ShownIn(std::wstring unit) &&;
    // The same row with its rule.
    SFieldRow Rule(FieldPredicate asked, FieldPredicate accepted, FieldAction whenAvailable,
                   FieldAction onRefresh) &&;
    // The same row, its action choosing among `all`.
    SFieldRow ChoosingAmong(const COptionList& all) &&;
    // The same row, `sibling` evaluated before each of the user's answers.
    SFieldRow EvaluatedAfter(const wchar_t* sibling) &&;
    // The same row, a user's answer marking the change of the cable's product type.
    SFieldRow MarksProductTypeChange() &&;
    // The same row, its answer the program's: `text` gives it.
    SFieldRow FilledBy(std::wstring (*text)()) &&;
};

// The name a row is made for: a field's name constant (its name, not its pattern) or the name
// written out, for the fields no rule or other code names.
struct SRowName {
    SRowName(const CFieldName& name) : text(name.Name()) {}
    SRowName(const wchar_t* name) : text(name) {}
    SRowName(std::wstring name) : text(std::move(name)) {}
    std::wstring text;
};

// A table's rows as a list, moved in: a braced list of rows would be copied row by row, every text
// and rule with it.
template <typename Row, std::size_t N> std::vector<Row> MoveRows(Row (&&rows)[N]) {
    std::vector<Row> list;
    list.reserve(N);
    for (Row& row : rows) {
        list.push_back(std::move(row));
    }
    return list;
}

// Row builders, so a catalog table reads like the form: one call per field.
SFieldRow TextField(SRowName name, std::wstring help);
SFieldRow HexField(SRowName name, unsigned digits, std::wstring help);
SFieldRow NumberField(SRowName name, unsigned long long minimum, unsigned long long maximum,
                      std::wstring help, unsigned scale = 1, std::wstring units = L"",
                      std::wstring note = L"");
SFieldRow ChoiceField(SRowName name, COptionList choices, std::wstring help);
SFieldRow YesNoField(SRowName name, std::wstring help);

// Every choice a row's question can have: its list, or the list its action chooses among; empty
// for a question without choices and one whose action has no one list.
const COptionList& EveryChoice(const SFieldRow& row);

// The unit shown beside the box of the field a row describes, in the units the user types; empty
// for a count, an identifier and anything that is not a number.
std::wstring ShownUnit(const SFieldRow& row, const CParameterField& field);

struct SPageRow {
    EPage id;
    std::wstring sectionCaption; // the section heading in the file
    std::wstring tabLabel;       // what the tab shows
    EGroupType listedGroupType;  // None: the page lists no groups
    // Every field of the page but the Intro's depends on Orvik_Product_Type; some pages add more.
    bool productTypeParent;
    std::vector<std::wstring> pageWideParents;
    std::vector<SFieldRow> fields;
};

// The seventeen pages in tab order, each with its fields in creation order.
const std::vector<SPageRow>& PageCatalog();
const SPageRow& PageRow(EPage page);

// ^Name$ with a leading $ escaped: the name pattern of a field called `name`.
std::wstring PatternOf(const std::wstring& name);
// Whether `pattern` is PatternOf(name), without making it.
bool IsPatternOf(std::wstring_view pattern, std::wstring_view name);

// Builds the field a row describes, with its record from `rules`: a fieldlist_error when the
// table has no record for it in the field's group type (`groupType`, or the group's, or 1).
std::unique_ptr<CParameterField> CreateField(const SFieldRow& row, const CRuleTable& rules, CWndWrapper* host,
                                             CFieldGroup* group, EGroupType groupType = EGroupType::None);
