#include "core/TestRules.h"

#include "catalog/PageCatalog.h"

#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "model/Predicates.h"

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <utility>
#include <vector>

using namespace testrules;

namespace {

class FieldKinds : public ::testing::Test {
protected:
    void SetUp() override { RegisterPlainRules(); }

    // The line a writer emits for an available field, without the line end.
    static std::wstring Line(const CParameterField& field) {
        std::wstring line;
        field.GetOutputLine(line);
        if (field.WriteComment()) {
            field.AppendComment(line);
        }
        return line;
    }
};

CGroupPrototype Prototype(EGroupType type, EGroupType childType = EGroupType::None) {
    CGroupPrototype prototype;
    prototype.type = type;
    prototype.childType = childType;
    return prototype;
}

struct CMillivolts : CNumEditField {
    explicit CMillivolts(unsigned long long minimum = 0)
        : CNumEditField(nullptr, nullptr, Rec(kNumber), minimum, 20000, 50, L"mV") {}
};

struct CConnectorChoice : CPulldownListField {
    CConnectorChoice() : CPulldownListField(nullptr, nullptr, Rec(kChoice)) {
        SetOptions({{0, L"Type-A"}, {1, L"Type-B"}, {2, L"Type-C"}});
    }
};

// ---- Construction and printable names ----

TEST_F(FieldKinds, FieldNeedsARecordInTheGroupOfItsList) {
    EXPECT_EQ(ErrorOf([] { CreateField(TextField(L"Test_NoSuchRecord", L""), Table(), nullptr, nullptr); }),
              L"NULL function list: field=^Test_NoSuchRecord$, field group type id = 1.");

    CFieldGroupList list(Prototype(EGroupType::SourcePdo), nullptr, nullptr);
    CFieldGroup group(&list, 1, nullptr);
    CNumEditField volt(nullptr, &group, Rec(kVolt), 0, 20000, 50, L"mV");
    EXPECT_EQ(volt.GroupType(), EGroupType::SourcePdo);
    EXPECT_EQ(volt.Rule().namePattern, kVolt);
    EXPECT_EQ(ErrorOf([&] { CreateField(TextField(L"Test_Text", L""), Table(), nullptr, &group); }),
              L"NULL function list: field=^Test_Text$, field group type id = 2.");
    // A record that belongs to no table cannot make a field.
    EXPECT_EQ(ErrorOf([] { CEditField(nullptr, nullptr, Rule(kText)); }),
              L"NULL function list: field=^Test_Text$, field group type id = 1.");
}

TEST_F(FieldKinds, PrintableNamesOfPageFields) {
    EXPECT_EQ(CEditField(nullptr, nullptr, Rec(kText)).GetPrintableName(), L"Test_Text");
    EXPECT_EQ(CEditField(nullptr, nullptr, Rec(kQuoted)).GetPrintableName(), L"$Test_Quoted");
    // A page field whose pattern holds an instance mark prints only the text before it.
    EXPECT_EQ(CEditField(nullptr, nullptr, Rec(kIndexed)).GetPrintableName(), L"Test_Indexed");
}

TEST_F(FieldKinds, PrintableNamesFillInGroupInstanceNumbers) {
    CFieldGroupList pdos(Prototype(EGroupType::SourcePdo), nullptr, nullptr);
    CFieldGroup third(&pdos, 3, nullptr);
    EXPECT_EQ(CNumEditField(nullptr, &third, Rec(kVolt), 0, 20000, 50, L"mV").GetPrintableName(),
              L"Test_Volt3");
    // A pattern without instance marks still gets the group's number.
    EXPECT_EQ(CEditField(nullptr, &third, Rec(kPlain)).GetPrintableName(), L"Test_Plain3");

    CFieldGroupList svids(Prototype(EGroupType::SopSvid, EGroupType::SopMode), nullptr, nullptr);
    CFieldGroup firstSvid(&svids, 1, nullptr);
    CFieldGroup secondSvid(&svids, 2, nullptr);
    EXPECT_EQ(CNumEditField(nullptr, &firstSvid, Rec(kSvidModes), 0, 10, 1, L"").GetPrintableName(),
              L"Test_SVID1_num_modes_min_SOP");

    CFieldGroupList modes(Prototype(EGroupType::SopMode), &secondSvid.Fields(), &secondSvid);
    CFieldGroup fourthMode(&modes, 4, &secondSvid.Fields());
    CYesNoPulldownListField enter(nullptr, &fourthMode, Rec(kModeEnter));
    EXPECT_EQ(enter.GetPrintableName(), L"Test_SVID2_mode4_enter_SOP");
    fourthMode.SetInstanceNumber(3);
    EXPECT_EQ(enter.GetPrintableName(), L"Test_SVID2_mode3_enter_SOP");
}

// ---- Output lines and comments ----

TEST_F(FieldKinds, TextLinesQuoteOnlyDollarNames) {
    CEditField quoted(nullptr, nullptr, Rec(kQuoted));
    EXPECT_EQ(Line(quoted), L"$Test_Quoted: \"\"");
    quoted.SetValue(L"Say \"hi\"");
    EXPECT_EQ(Line(quoted), L"$Test_Quoted: \"Say \"hi\"\"");

    CEditField plain(nullptr, nullptr, Rec(kText));
    plain.SetValue(L"free text");
    EXPECT_EQ(Line(plain), L"Test_Text: free text");
}

TEST_F(FieldKinds, DigitStringLinesAndValidity) {
    CDigitStringEditField hex(nullptr, nullptr, Rec(kDigits), 4, 16);
    hex.SetValue(L"04b4");
    EXPECT_TRUE(hex.IsValid());
    EXPECT_EQ(Line(hex), L"Test_Digits: 0x04b4");
    hex.SetValue(L"4B4");
    EXPECT_FALSE(hex.IsValid());
    EXPECT_TRUE(hex.HasInvalidEntry());
    // Only the length is checked; the control admits only digits of the radix.
    hex.SetValue(L"zzzz");
    EXPECT_TRUE(hex.IsValid());
    EXPECT_FALSE(hex.HasOnlyDigits());
    hex.SetValue(L"04bF");
    EXPECT_TRUE(hex.HasOnlyDigits());

    CDigitStringEditField octal(nullptr, nullptr, Rec(kDigits), 4, 8);
    octal.SetValue(L"0178");
    EXPECT_EQ(Line(octal), L"Test_Digits: 0178");
    EXPECT_FALSE(octal.HasOnlyDigits());
}

TEST_F(FieldKinds, NumberLineHoldsFileUnitsAndCommentTheRoundedValue) {
    CMillivolts volt;
    EXPECT_FALSE(volt.WriteComment());
    volt.SetScaleAndUnits(50, L"mV");
    EXPECT_TRUE(volt.WriteComment());
    volt.SetValue(L"5025");
    EXPECT_EQ(Line(volt), L"Test_Number: 100        ; (5000 mV)");
    volt.SetValue(L"");
    EXPECT_EQ(Line(volt), L"Test_Number: <Invalid>        ; <Invalid> mV");

    CNumEditField count(nullptr, nullptr, Rec(kNumber), 0, 100, 1, L"");
    count.SetValue(L"007");
    EXPECT_EQ(Line(count), L"Test_Number: 7");
}

TEST_F(FieldKinds, PulldownLineCarriesTheOptionLabel) {
    CConnectorChoice connector;
    EXPECT_EQ(Line(connector), L"Test_Choice: ");
    connector.SetValue(L"2");
    EXPECT_EQ(Line(connector), L"Test_Choice: 2        ; Type-C");
    connector.SetValue(L"5");
    EXPECT_EQ(Line(connector), L"Test_Choice: 5        ; ");
    EXPECT_FALSE(connector.IsValid());
}

TEST_F(FieldKinds, PulldownValueThatIsNoNumberIsInvalidWithoutError) {
    // What the loader keeps of a line "Test_Choice: 0xAB".
    CConnectorChoice connector;
    connector.SetValue(L"AB");
    EXPECT_NO_THROW(EXPECT_EQ(Line(connector), L"Test_Choice: AB        ; "));
    EXPECT_FALSE(connector.IsValid());
    EXPECT_EQ(connector.GetIntValue(), -1);
    EXPECT_EQ(connector.GetCurrentOption(), COption(-1, L""));
    EXPECT_EQ(CPulldownListField::SummaryText(&connector), L"");

    connector.SetValue(L"002");
    EXPECT_EQ(connector.GetIntValue(), 2);
    EXPECT_TRUE(connector.IsValid());
    connector.SetValue(L"0x02");
    EXPECT_EQ(connector.GetIntValue(), -1) << "only plain decimal counts as an option id";
    EXPECT_FALSE(connector.IsValid());
}

// ---- Numbers ----

TEST_F(FieldKinds, NumberRangeChecks) {
    CMillivolts fromZero(0);
    for (const wchar_t* ok : {L"0", L"20000", L"007"}) {
        EXPECT_TRUE(fromZero.IsValueInRange(ok)) << ok;
    }
    for (const wchar_t* bad : {L"20001", L"", L"1.5", L"-1", L" 5", L"4294967301"}) {
        EXPECT_FALSE(fromZero.IsValueInRange(bad)) << bad;
    }
    CMillivolts fromOne(1);
    EXPECT_FALSE(fromOne.IsValueInRange(L"0"));
    fromOne.SetValue(L"007");
    EXPECT_TRUE(fromOne.IsValid());

    CNumEditField wide(nullptr, nullptr, Rec(kNumber), 0, ULLONG_MAX, 1, L"");
    EXPECT_TRUE(wide.IsValueInRange(L"18446744073709551615"));
    EXPECT_FALSE(wide.IsValueInRange(L"18446744073709551616"));
    EXPECT_FALSE(wide.IsValueInRange(std::wstring(100000, L'9')));
}

TEST_F(FieldKinds, RangeAndScaleCarryTheValueOverWhenAsked) {
    CNumEditField volt(nullptr, nullptr, Rec(kNumber), 0, 20000, 50, L"mV");
    volt.SetValue(L"5025");
    volt.SetRangeAndScale(0, 10000, 25, true);
    EXPECT_EQ(volt.Value(), L"2500");
    EXPECT_EQ(volt.Prompt(), L"Enter a number in the range 0 through 10000.");

    volt.SetRangeAndScale(5, 10000, 10, false);
    EXPECT_EQ(volt.Value(), L"2500");
    EXPECT_EQ(volt.Scale(), 10u);
    EXPECT_EQ(volt.Minimum(), 5u);

    volt.SetValue(L"12ab");
    EXPECT_NO_THROW(volt.SetRangeAndScale(0, 10000, 50, true));
    EXPECT_EQ(volt.Value(), L"12ab");
}

TEST_F(FieldKinds, NumberRestoresItsFileValueInUserUnits) {
    CMillivolts volt;
    volt.SetFileEntry(L"Test_Number", L"100");
    volt.RestoreFileValue();
    EXPECT_EQ(volt.Value(), L"5000");
    volt.SetFileEntry(L"Test_Number", L"0x64");
    volt.RestoreFileValue();
    EXPECT_EQ(volt.Value(), L"5000");
    volt.SetFileEntry(L"Test_Number", L"AB");
    EXPECT_NO_THROW(volt.RestoreFileValue());
    EXPECT_FALSE(volt.IsValid());
}

// What a number writes is what it restores from: loading the line again and writing it gives the
// same line, whether the value is valid, out of range, beyond any machine number or not a number.
TEST_F(FieldKinds, NumberLinesSurviveALoadOfWhatTheyWrote) {
    // The line written by a field that loaded `line`.
    const auto reload = [](const std::wstring& line) {
        const std::size_t from = line.find(L": ") + 2;
        CMillivolts reloaded;
        reloaded.SetScaleAndUnits(50, L"mV");
        reloaded.SetFileEntry(L"Test_Number", line.substr(from, line.find(L"        ;") - from));
        reloaded.RestoreFileValue();
        return Line(reloaded);
    };
    CMillivolts volt;
    volt.SetScaleAndUnits(50, L"mV");
    for (const auto& [value, line] : std::vector<std::pair<std::wstring, std::wstring>>{
             {L"5025", L"Test_Number: 100        ; (5000 mV)"},
             {L"30000", L"Test_Number: 600        ; <Invalid> mV"},
             {L"30049", L"Test_Number: 600        ; <Invalid> mV"},
             {L"18446744073709551615000", L"Test_Number: 368934881474191032300        ; <Invalid> mV"},
             {L"five", L"Test_Number: five        ; <Invalid> mV"},
             {L"-40", L"Test_Number: -40        ; <Invalid> mV"}}) {
        volt.SetValue(value);
        EXPECT_EQ(Line(volt), line);
        EXPECT_EQ(reload(line), line);
    }
}

TEST_F(FieldKinds, NumberTooLargeForAnyRangeStillRestoresInUserUnits) {
    CMillivolts volt;
    volt.SetFileEntry(L"Test_Number", L"0099999999999999999999");
    volt.RestoreFileValue();
    EXPECT_EQ(volt.Value(), L"4999999999999999999950");
    EXPECT_FALSE(volt.IsValid());
    volt.SetFileEntry(L"Test_Number", L"0x1FFFFFFFFF");
    volt.RestoreFileValue();
    EXPECT_EQ(volt.Value(), L"0x1FFFFFFFFF");
    // The loader hands over hexadecimal digits without their "0x".
    volt.SetFileEntry(L"Test_Number", L"FF");
    volt.RestoreFileValue();
    EXPECT_EQ(volt.Value(), L"0xFF");
}

TEST_F(FieldKinds, Prompts) {
    EXPECT_EQ(CDigitStringEditField(nullptr, nullptr, Rec(kDigits), 1, 10).Prompt(),
              L"Enter precisely 1 decimal digit.");
    EXPECT_EQ(CDigitStringEditField(nullptr, nullptr, Rec(kDigits), 1, 10, L"Zero for none.").Prompt(),
              L"Enter precisely 1 decimal digit. Zero for none.");
    EXPECT_EQ(CDigitStringEditField(nullptr, nullptr, Rec(kDigits), 4, 16).Prompt(),
              L"Enter precisely 4 hex digits.");
    EXPECT_EQ(CDigitStringEditField(nullptr, nullptr, Rec(kDigits), 3, 8).Prompt(),
              L"Enter precisely 3 base 8 digits.");
    EXPECT_EQ(CMillivolts().Prompt(), L"Enter a number in the range 0 through 20000.");
    EXPECT_EQ(CNumEditField(nullptr, nullptr, Rec(kNumber), 1, 4, 1, L"", L"Count the ports.").Prompt(),
              L"Enter a number in the range 1 through 4. Count the ports.");
    CEditField text(nullptr, nullptr, Rec(kText), L"As on the label.");
    EXPECT_EQ(text.Prompt(), L"");
    text.UpdatePrompt();
    EXPECT_EQ(text.Prompt(), L"As on the label.");
}

TEST_F(FieldKinds, SummaryTexts) {
    EXPECT_EQ(CNumEditField::SummaryText(nullptr), L"--");
    EXPECT_EQ(CDigitStringEditField::SummaryText(nullptr), L"--");
    EXPECT_EQ(CPulldownListField::SummaryText(nullptr), L"<Unknown>");

    CMillivolts volt;
    volt.SetValue(L"5025");
    EXPECT_EQ(CNumEditField::SummaryText(&volt), L"5000mV");
    volt.SetValue(L"5x");
    EXPECT_EQ(CNumEditField::SummaryText(&volt), L"5xmV");
    CDigitStringEditField hex(nullptr, nullptr, Rec(kDigits), 4, 16);
    hex.SetValue(L"04b4");
    EXPECT_EQ(CDigitStringEditField::SummaryText(&hex), L"0x04b4");
    CConnectorChoice connector;
    connector.SetValue(L"1");
    EXPECT_EQ(CPulldownListField::SummaryText(&connector), L"Type-B");
}

// ---- YES/NO ----

TEST_F(FieldKinds, YesNoFieldNormalisesItsValue) {
    CYesNoPulldownListField yesNo(nullptr, nullptr, Rec(kYesNo));
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"yes", L"YES"}, {L"No", L"NO"}, {L"1", L"YES"},  {L"0", L"NO"}, {L"0x0", L"NO"},
        {L"0X1", L"YES"}, {L"2", L""},    {L"maybe", L""}, {L"AB", L""},  {L"", L""},
    };
    for (const auto& [input, stored] : cases) {
        yesNo.SetValue(L"YES");
        EXPECT_NO_THROW(yesNo.SetValue(input)) << input;
        EXPECT_EQ(yesNo.Value(), stored) << input;
    }
    EXPECT_FALSE(yesNo.WriteComment());
    yesNo.SetValue(L"yes");
    EXPECT_EQ(Line(yesNo), L"Test_YesNo: YES");
}

TEST_F(FieldKinds, YesNoCodingsDoNotMix) {
    CYesNoPulldownListField yesNo(nullptr, nullptr, Rec(kYesNo));
    EXPECT_EQ(yesNo.Options(), (COptionList{{1, L"YES"}, {0, L"NO"}}));
    yesNo.SetIntValue(1); // option ids: YES = 1
    EXPECT_EQ(yesNo.Value(), L"YES");
    EXPECT_EQ(yesNo.GetIntValue(), YN_YES);
    EXPECT_TRUE(yesNo.IsValid());
    yesNo.SetIntValue(0);
    EXPECT_EQ(yesNo.Value(), L"NO");
    EXPECT_EQ(yesNo.GetIntValue(), YN_NO);
    EXPECT_TRUE(yesNo.IsValid());
    yesNo.SetIntValue(7);
    EXPECT_EQ(yesNo.GetIntValue(), -1);
    EXPECT_FALSE(yesNo.IsValid());

    yesNo.SetYesNo(YN_YES); // EYesNo: YES = 0
    EXPECT_EQ(yesNo.Value(), L"YES");
    yesNo.SetYesNo(YN_NO);
    EXPECT_EQ(yesNo.Value(), L"NO");
    yesNo.SetYesNo(-1);
    EXPECT_EQ(yesNo.Value(), L"");
}

// ---- TextToUnsigned ----

TEST(TextToUnsignedTest, ReadsYesNoHexAndDecimal) {
    EXPECT_EQ(TextToUnsigned(L"NO"), 0u);
    EXPECT_EQ(TextToUnsigned(L"yes"), 1u);
    EXPECT_EQ(TextToUnsigned(L"0x1F"), 31u);
    EXPECT_EQ(TextToUnsigned(L"0X1f"), 31u);
    EXPECT_EQ(TextToUnsigned(L"007"), 7u);
    EXPECT_EQ(TextToUnsigned(L"4294967296"), 0u) << "truncated to 32 bits";
    EXPECT_EQ(TextToUnsigned(L"0x"), 0u) << "two characters are read as decimal";

    EXPECT_THROW(TextToUnsigned(L"AB"), std::invalid_argument);
    EXPECT_THROW(TextToUnsigned(L""), std::invalid_argument);
    EXPECT_THROW(TextToUnsigned(L"99999999999999999999999"), std::out_of_range);
}

TEST(TextToUnsignedTest, TryFormReportsInsteadOfThrowing) {
    std::uint32_t n = 99;
    EXPECT_TRUE(TryTextToUnsigned(L"0x10", n));
    EXPECT_EQ(n, 16u);
    EXPECT_TRUE(TryTextToUnsigned(L"Yes", n));
    EXPECT_EQ(n, 1u);
    EXPECT_TRUE(TryTextToUnsigned(L"4294967295", n));
    EXPECT_EQ(n, 4294967295u);
    for (const wchar_t* bad : {L"AB", L"", L"4294967296", L"99999999999999999999999"}) {
        EXPECT_FALSE(TryTextToUnsigned(bad, n)) << bad;
    }
    // Every edge is read as the C library's strtoull reads it on this system, and the same on all.
    const struct {
        const wchar_t* text;
        bool read;
        std::uint32_t value;
    } cases[] = {{L"no", true, 0},           {L"0X1f", true, 31}, {L"00012", true, 12},
                 {L"0xg", true, 0},          {L"1X5", true, 1},   {L"12abc", true, 12},
                 {L" 7", true, 7},           {L"+5", true, 5},    {L"-0", true, 0},
                 {L"-1", false, 0},          {L"0x", true, 0},    {L"0x100000000", false, 0},
                 {L"4294967296x", false, 0}, {L"0x 5", true, 0},  {L"-", false, 0}};
    for (const auto& c : cases) {
        n = 99;
        EXPECT_EQ(TryTextToUnsigned(c.text, n), c.read) << c.text;
        if (c.read) {
            EXPECT_EQ(n, c.value) << c.text;
        }
    }
}

// ---- Copies, clones and down-casts ----

TEST_F(FieldKinds, CloneKeepsKindParametersAndCopyFromBringsTheState) {
    CNumEditField volt(nullptr, nullptr, Rec(kNumber), 100, 20000, 50, L"mV", L"A note.");
    volt.SetScaleAndUnits(25, L"mA");
    volt.SetValue(L"1000");
    volt.SetAvailable(true);

    std::unique_ptr<CParameterField> clone = volt.Clone();
    auto* num = FieldAs<CNumEditField>(clone.get());
    ASSERT_NE(num, nullptr);
    EXPECT_EQ(num->Minimum(), 100u);
    EXPECT_EQ(num->Maximum(), 20000u);
    EXPECT_EQ(num->Scale(), 25u);
    EXPECT_EQ(num->Units(), L"mA");
    EXPECT_EQ(num->Prompt(), L"Enter a number in the range 100 through 20000.");
    EXPECT_EQ(num->Value(), L"");

    num->CopyFrom(volt);
    EXPECT_EQ(num->Value(), L"1000");
    EXPECT_TRUE(num->IsAvailable());
    EXPECT_EQ(Line(*num), Line(volt));
}

TEST_F(FieldKinds, PulldownCloneGetsItsOptionsWithCopyFrom) {
    CConnectorChoice connector;
    connector.SetValue(L"2");
    auto clone = connector.Clone();
    auto& list = *FieldCast<CPulldownListField>(clone.get());
    EXPECT_TRUE(list.Options().empty());
    list.CopyFrom(connector);
    EXPECT_EQ(list.Options(), connector.Options());
    EXPECT_TRUE(list.IsValid());
}

TEST_F(FieldKinds, FieldAsAnswersTheKindAndFieldCastNamesTheProblem) {
    CEditField text(nullptr, nullptr, Rec(kText));
    CParameterField* field = &text;
    const CParameterField* constField = &text;
    EXPECT_EQ(FieldAs<CEditField>(field), &text);
    EXPECT_EQ(FieldAs<const CEditField>(field), &text);
    EXPECT_EQ(FieldAs<CEditField>(constField), &text);
    EXPECT_EQ(FieldAs<CNumEditField>(field), nullptr);
    EXPECT_EQ(FieldAs<CNumEditField>(constField), nullptr);
    EXPECT_EQ(FieldAs<CEditField>(static_cast<CParameterField*>(nullptr)), nullptr);
    EXPECT_EQ(FieldAs<CEditField>(static_cast<const CParameterField*>(nullptr)), nullptr);
    EXPECT_EQ(FieldCast<CEditField>(field), &text);
    EXPECT_EQ(FieldCast<CEditField>(constField), &text);
    EXPECT_EQ(ErrorOf([&] { FieldCast<CNumEditField>(field); }),
              L"Couldn't cast field ^Test_Text$ to expected class.");
    EXPECT_EQ(ErrorOf([&] { FieldCast<CNumEditField>(constField); }),
              L"Couldn't cast field ^Test_Text$ to expected class.");
    EXPECT_EQ(ErrorOf([] { FieldCast<CNumEditField>(static_cast<CParameterField*>(nullptr)); }),
              L"CParameterField arg is NULL.");
    EXPECT_EQ(ErrorOf([] { FieldCast<CNumEditField>(static_cast<const CParameterField*>(nullptr)); }),
              L"const CParameterField arg is NULL.");
}

// ---- Text handed in by a view ----

TEST_F(FieldKinds, ChecksLookAtTheTextAViewHandsIn) {
    CDigitStringEditField hex(nullptr, nullptr, Rec(kDigits), 4, 16);
    EXPECT_FALSE(hex.IsValid());
    EXPECT_TRUE(hex.IsEmpty());
    hex.SetValue(L"04b4");
    EXPECT_TRUE(hex.IsValid());
    EXPECT_FALSE(hex.IsEmpty());
    EXPECT_EQ(hex.Value(), L"04b4");

    CYesNoPulldownListField yesNo(nullptr, nullptr, Rec(kYesNo));
    yesNo.SetValue(L"no");
    EXPECT_EQ(yesNo.Value(), L"NO");
    yesNo.SetIntValue(1);
    EXPECT_EQ(yesNo.Value(), L"YES");
}

} // namespace
