#include "FormFixture.h"
#include "LogCapture.h"
#include "catalog/PageCatalog.h"
#include "model/FieldKinds.h"
#include "persistence/LoadFlow.h"
#include "persistence/OrvikLexer.h"
#include "persistence/OrvikReader.h"
#include "persistence/Upgrader.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <string>
#include <vector>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

bool Logged(const CScopedLogCapture& log, const std::string& line) {
    const auto& lines = log.Lines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

struct SLine {
    const wchar_t* line;
    bool matches;
    const wchar_t* name;
    const wchar_t* value;
};

class LineGrammar : public ::testing::TestWithParam<SLine> {};

TEST_P(LineGrammar, MatchesTheTwoLineFormsOnly) {
    const SLine& c = GetParam();
    std::wstring name = L"unset";
    std::wstring value = L"unset";
    EXPECT_EQ(MatchEntryLine(c.line, name, value), c.matches) << c.line;
    if (c.matches) {
        EXPECT_EQ(name, c.name);
        EXPECT_EQ(value, c.value);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Reader, LineGrammar, ::testing::Values(
    SLine{L"$Port_Label: \"A;B\"   ; note",       true,  L"$Port_Label",     L"A;B"},
    SLine{L"$Port_Label: \"x\"y\"",                true,  L"$Port_Label",     L"x\"y"},
    SLine{L"$Vendor_Name:\"V1\"",                  true,  L"$Vendor_Name",    L"V1"},
    SLine{L"$Vendor_Name :  \"V1\"",               true,  L"$Vendor_Name",    L"V1"},
    SLine{L"$Vendor_Name: \"\"",                   true,  L"$Vendor_Name",    L""},
    SLine{L"\t$TID\t:\t\"7\"  ",                   true,  L"$TID",            L"7"},
    SLine{L"Connector_Type: 0x02",                 true,  L"Connector_Type",  L"02"},
    SLine{L"Connector_Type: 0x1f  ; comment",      true,  L"Connector_Type",  L"1F"},
    SLine{L"Connector_Type: 123",                  true,  L"Connector_Type",  L"123"},
    SLine{L"USB_PD_Support: YES",                  true,  L"USB_PD_Support",  L"YES"},
    SLine{L"Cable_SOP''_controller: NO",           true,  L"Cable_SOP''_controller", L"NO"},
    SLine{L"Connector_Type: 0X02",                 false, nullptr, nullptr},
    SLine{L"Connector_Type: yes",                  false, nullptr, nullptr},
    SLine{L"Connector_Type: -1",                   false, nullptr, nullptr},
    SLine{L"Connector_Type: 0x",                   false, nullptr, nullptr},
    SLine{L"Connector_Type 2",                     false, nullptr, nullptr},
    SLine{L"Connector-Type: 2",                    false, nullptr, nullptr},
    SLine{L"$Vendor_Name: V1",                     false, nullptr, nullptr},
    SLine{L"$Vendor_Name: \"V1",                   false, nullptr, nullptr},
    SLine{L"$: \"V1\"",                            false, nullptr, nullptr},
    SLine{L"Vendor_Name: \"V1\"",                  false, nullptr, nullptr},
    SLine{L"   ; comment",                         false, nullptr, nullptr},
    SLine{L"",                                     false, nullptr, nullptr}));
// clang-format on

TEST(Reader, StripCommentKeepsSemicolonsInsideQuotes) {
    EXPECT_EQ(StripComment(L"  ; only a comment"), L"");
    EXPECT_EQ(StripComment(L"   "), L"");
    EXPECT_EQ(StripComment(L"A: 1 ; c"), L"A: 1");
    EXPECT_EQ(StripComment(L"$A: \"x;y;z\" ; c"), L"$A: \"x;y;z\"");
    EXPECT_EQ(StripComment(L"$A: \"x;y\""), L"$A: \"x;y\"");
}

TEST(Reader, ParsesEntriesInOrderAndKeepsDuplicatesTogether) {
    CScopedLogCapture log;
    COrvikFile file(L"f.txt");
    ParseOrvikBytes("; header\r\nB: 1\r\nA: 2\nB: 1\r\n\r\nbad line\r\nC: YES", file);
    ASSERT_EQ(file.Entries().size(), 3u);
    EXPECT_EQ(file.Entries()[0].Name(), L"B");
    EXPECT_EQ(file.Entries()[0].count, 2u);
    EXPECT_EQ(file.Entries()[1].Name(), L"A");
    EXPECT_EQ(file.Entries()[2].Name(), L"C"); // the last line has no line end
    ASSERT_EQ(file.RejectedLines().size(), 1u);
    EXPECT_EQ(file.RejectedLines()[0], L"bad line");
    EXPECT_TRUE(Logged(log, "Syntax Error: couldn't parse 'bad line'"));
    EXPECT_EQ(log.Lines().size(), 1u) << "blank and comment lines are skipped silently";
}

TEST(Reader, SurvivesBytesThatAreNoOrvikFile) {
    CScopedLogCapture log;
    COrvikFile file;
    std::string binary;
    for (int i = 0; i < 4096; ++i) {
        binary.push_back(static_cast<char>((i * 37) & 0xFF));
    }
    ParseOrvikBytes(binary, file);
    ParseOrvikBytes(std::string("A: 1\0B: 2\r\n", 12), file);
    ParseOrvikBytes(std::string(10 * 1024 * 1024, 'x'), file);
    std::string longValue = "$Vendor_Name: \"" + std::string(10 * 1024 * 1024, 'v') + "\"";
    ParseOrvikBytes(longValue, file);
    std::string longNumber = "Connector_Type: " + std::string(10 * 1024 * 1024, '7');
    ParseOrvikBytes(longNumber, file);
    ASSERT_GE(file.Entries().size(), 2u);
    EXPECT_EQ(file.Entries().back().Name(), L"Connector_Type");
}

TEST(Reader, RepeatedAndRejectedLinesCostNoMemoryBeyondTheirCount) {
    CScopedLogCapture log;
    COrvikFile file;
    std::string lines;
    for (int i = 0; i < 5000; ++i) {
        lines += "A: 1\r\n!\r\n";
    }
    ParseOrvikBytes(lines, file);
    ASSERT_EQ(file.Entries().size(), 1u);
    EXPECT_EQ(file.Entries()[0].count, 5000u);
    EXPECT_EQ(file.RejectedLineCount(), 5000u);
    EXPECT_EQ(file.RejectedLines().size(), COrvikFile::kMaxKeptRejectedLines);
}

// A file read into the room an earlier one left holds only its own entries: no name, value, count
// or rejected line of the earlier file shows through, whether the earlier file was larger or the
// names now arrive in another order.
TEST(Reader, AFileReadAgainHoldsOnlyItsOwnEntries) {
    CScopedLogCapture log;
    COrvikFile file(L"first.txt");
    ParseOrvikBytes("A: 1\nB: 2\nB: 3\nC: YES\nbad\n$D: \"long text value\"\n", file);
    ASSERT_EQ(file.Entries().size(), 4u);
    file.Reset(L"second.txt");
    EXPECT_EQ(file.Path(), L"second.txt");
    EXPECT_TRUE(file.Entries().empty());
    EXPECT_EQ(file.RejectedLineCount(), 0u);
    ParseOrvikBytes("C: NO\nA: 7\nA: 8\n", file);
    ASSERT_EQ(file.Entries().size(), 2u);
    EXPECT_EQ(file.Entries()[0].Name(), L"C");
    EXPECT_EQ(file.Entries()[0].first.value, L"NO");
    EXPECT_EQ(file.Entries()[0].count, 1u);
    EXPECT_EQ(file.Entries()[1].Name(), L"A");
    EXPECT_EQ(file.Entries()[1].first.value, L"7");
    EXPECT_EQ(file.Entries()[1].count, 2u);
    EXPECT_TRUE(file.RejectedLines().empty());

    // After a file of more names than any form has, the next file still reads correctly.
    std::string many;
    for (int i = 0; i < 5000; ++i) {
        // Appended piece by piece: GCC 12's optimiser warns falsely about a chain of operator+.
        const std::string number = std::to_string(i);
        many.append("N").append(number).append(": ").append(number).append("\n");
    }
    file.Reset(L"many.txt");
    ParseOrvikBytes(many, file);
    ASSERT_EQ(file.Entries().size(), 5000u);
    file.Reset(L"small.txt");
    ParseOrvikBytes("B: 4\n", file);
    ASSERT_EQ(file.Entries().size(), 1u);
    EXPECT_EQ(file.Entries()[0].Name(), L"B");
    EXPECT_EQ(file.Entries()[0].first.value, L"4");
}

// Names are told apart exactly however many there are, whether or not room was made for them, and
// each keeps its place of first appearance, its first value and its count.
TEST(Reader, ManyDistinctNamesKeepTheirOrderValuesAndCounts) {
    std::string lines;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 3000; ++i) {
            const std::string n = std::to_string(i);
            lines += (i % 2 ? "Name_" : "NAME_") + n + ": " + std::to_string(round * 10000 + i) + "\n";
        }
    }
    lines += "name_1: 5\n";
    for (const bool reserve : {false, true}) {
        COrvikFile file;
        if (reserve) {
            file.Reserve(100);
        }
        std::wstring name;
        std::wstring value;
        std::size_t start = 0;
        while (start < lines.size()) {
            const std::size_t end = lines.find('\n', start);
            ASSERT_TRUE(MatchEntryLine(orvik::FromCp1252(lines.substr(start, end - start)), name, value));
            file.AddOccurrence(name, value);
            start = end + 1;
        }
        ASSERT_EQ(file.Entries().size(), 3001u);
        for (int i = 0; i < 3000; ++i) {
            const COrvikEntry& entry = file.Entries()[static_cast<std::size_t>(i)];
            const std::wstring n = orvik::FromCp1252(std::to_string(i));
            EXPECT_EQ(entry.Name(), (i % 2 ? L"Name_" : L"NAME_") + n);
            EXPECT_EQ(entry.first.value, n);
            EXPECT_EQ(entry.count, 3u);
        }
        EXPECT_EQ(file.Entries()[3000].Name(), L"name_1") << "names differing in case are different entries";
        EXPECT_EQ(file.Entries()[3000].count, 1u);
    }
}

class LoaderTest : public CFormFixture {
protected:
    std::wstring Value(const wchar_t* name) {
        CParameterField* f = sheet.FindField(name);
        return f ? f->Value() : L"<missing>";
    }
};

TEST_F(LoaderTest, DuplicateNamesAreDiscardedAndUnknownNamesLogged) {
    EXPECT_TRUE(Load("$Vendor_Name: \"V\"\r\n$Vendor_Name: \"V\"\r\nNo_Such_Field: 1\r\n$TID: \"9\"\r\n"));
    EXPECT_EQ(Value(L"$Vendor_Name"), L"");
    EXPECT_EQ(Value(L"$TID"), L"9");
    EXPECT_TRUE(Logged(log, "2 Orvik entries found for field: $Vendor_Name. Discarding."));
    EXPECT_TRUE(Logged(log, "Unknown field: No_Such_Field"));
}

TEST_F(LoaderTest, EmptiesTheFormAndKeepsTheFileValuesForLater) {
    sheet.FindField(L"$Vendor_Name")->SetValue(L"typed before");
    EXPECT_TRUE(Load("$TID: \"1\"\r\nOrvik_Product_Type: 0\r\n"));
    EXPECT_EQ(Value(L"$Vendor_Name"), L"");
    CParameterField* type = sheet.FindField(L"Orvik_Product_Type");
    EXPECT_EQ(type->FileEntryName(), L"Orvik_Product_Type");
    EXPECT_EQ(type->FileEntryValue(), L"0");
    EXPECT_EQ(sheet.Title(), L"Orvik Generator 1.2.2.2 - [in.txt]");
}

TEST_F(LoaderTest, FillsTheVersionTextsOnlyWhenTheFileHasNone) {
    EXPECT_TRUE(Load("$TID: \"1\"\r\n"));
    EXPECT_EQ(Value(L"$Orvik_Producer"), L"Halvex Marnel File Generator, Version 1.2.2.2");
    EXPECT_EQ(Value(L"$Orvik_Specification"), L"Revision 1.36, Version 1.0");
    EXPECT_TRUE(Load("$Orvik_Producer: \"Older tool\"\r\n"));
    EXPECT_EQ(Value(L"$Orvik_Producer"), L"Older tool");
}

TEST_F(LoaderTest, ValuesAreStoredAsReadAndShowAsInvalid) {
    EXPECT_TRUE(Load("Orvik_Product_Type: 0\r\nConnector_Type: 0xAB\r\n"));
    auto* connector = FieldAs<CPulldownListField>(sheet.FindField(L"Connector_Type"));
    ASSERT_NE(connector, nullptr);
    EXPECT_EQ(connector->Value(), L"AB");
    EXPECT_FALSE(connector->IsValid());
    EXPECT_EQ(connector->GetCurrentOption().first, -1);
}

TEST_F(LoaderTest, GroupEntriesWithImpossibleNumbersAreRejected) {
    EXPECT_TRUE(Load("Src_PDO_Voltage0: 100\r\nSrc_PDO_Voltage8: 100\r\nSVID53_SOP: 0x1234\r\n"
                     "SVID1_mode7_enter_SOP: YES\r\nSrc_PDO_Voltage99999999999999999999: 100\r\n"));
    EXPECT_TRUE(Logged(log, "Unknown field: Src_PDO_Voltage0"));
    EXPECT_TRUE(Logged(log, "Unknown field: Src_PDO_Voltage8"));
    EXPECT_TRUE(Logged(log, "Unknown field: SVID53_SOP"));
    EXPECT_TRUE(Logged(log, "Unknown field: SVID1_mode7_enter_SOP"));
    EXPECT_TRUE(Logged(log, "Unknown field: Src_PDO_Voltage99999999999999999999"));
    for (const auto& [type, list] : sheet.GroupLists()) {
        EXPECT_TRUE(list->Empty()) << "group type " << NumberOf(type);
    }
}

TEST_F(LoaderTest, HugeLinesLoadWithoutHarm) {
    const std::string longName = "SVID" + std::string(10 * 1024 * 1024, '1') + "_SOP: 0x1234\r\n";
    const std::string longText = "$Vendor_Name: \"" + std::string(10 * 1024 * 1024, 'v') + "\"";
    EXPECT_TRUE(Load(longName + longText));
    EXPECT_EQ(Value(L"$Vendor_Name").size(), 10u * 1024 * 1024);
    EXPECT_TRUE(sheet.GetGroupList(EGroupType::SopSvid).Empty());
}

TEST_F(LoaderTest, AFileOfJunkLogsABoundedAmount) {
    std::string junk = std::string(5000, 'x') + "\r\n";
    for (int i = 0; i < 1500; ++i) {
        junk += "junk " + std::to_string(i) + "\r\n";
    }
    // One entry makes it an Orvik file, loaded for all its junk.
    junk += "$TID: \"1\"\r\n";
    EXPECT_TRUE(Load(junk));
    EXPECT_TRUE(Logged(log, "Syntax Error: couldn't parse '" + std::string(256, 'x') + "...'"));
    std::size_t syntaxLines = 0;
    for (const std::string& line : log.Lines()) {
        syntaxLines += line.rfind("Syntax Error: couldn't parse '", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(syntaxLines, 1000u);
    EXPECT_TRUE(Logged(log, "Syntax Error: 501 more lines couldn't be parsed."));
}

TEST_F(LoaderTest, UnreadableFileLeavesTheFormAsItWas) {
    sheet.FindField(L"$Vendor_Name")->SetValue(L"kept");
    EXPECT_FALSE(LoadOrvik(sheet, L"/nonexistent/dir/file.txt"));
    EXPECT_EQ(Value(L"$Vendor_Name"), L"kept");
    ASSERT_FALSE(prompt.History().empty());
    EXPECT_EQ(prompt.History().back().text.rfind(L"Couldn't read from file '/nonexistent/dir/file.txt': ", 0),
              0u);
}

// A pipe would block the open until something writes into it; a folder is no file either.
TEST_F(LoaderTest, OnlyRegularFilesAreOpened) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("orvik_reader_test_" + std::to_string(std::random_device{}()));
    ASSERT_TRUE(std::filesystem::create_directory(folder));
    std::vector<std::filesystem::path> refused{folder};
#ifndef _WIN32
    refused.push_back(folder / "pipe.txt");
    ASSERT_EQ(::mkfifo(refused.back().c_str(), 0600), 0);
#endif
    for (const std::filesystem::path& path : refused) {
        EXPECT_FALSE(LoadOrvik(sheet, path.wstring()));
        ASSERT_FALSE(prompt.History().empty());
        EXPECT_EQ(prompt.History().back().text,
                  L"Couldn't read from file '" + path.wstring() + L"': Not a regular file");
    }
    std::filesystem::remove_all(folder);
}

TEST_F(LoaderTest, LoadCommandAsksOnlyWhenVisitedPagesHoldAnswers) {
    prompt.SetNextFileDialogCancelled();
    RunLoadCommand(sheet);
    EXPECT_TRUE(Logged(log, "No Orvik selected: cancelled by user."));

    prompt.SetNextFileDialogCancelled(12);
    RunLoadCommand(sheet);
    EXPECT_EQ(prompt.History().back().text, L"Unable to load Orvik: CommDlgExtendedError = 12.");

    prompt.ClearHistory();
    prompt.SetNextFileName(L"/nonexistent/a.txt");
    RunLoadCommand(sheet);
    EXPECT_EQ(prompt.History().back().text, L"Failure: Unable to load Orvik /nonexistent/a.txt.");
    for (const auto& shown : prompt.History()) {
        EXPECT_NE(shown.kind, CScriptedPrompt::Shown::Question) << "nothing typed yet: no question";
    }

    sheet.FindField(L"$Vendor_Name")->SetValue(L"typed");
    prompt.ClearHistory();
    prompt.SetNextFileName(L"/nonexistent/a.txt");
    prompt.SetNextAnswer(false);
    RunLoadCommand(sheet);
    ASSERT_EQ(prompt.History().size(), 1u);
    EXPECT_EQ(prompt.History()[0].text, L"Loading this Orvik will overwrite all data that has been entered.  "
                                        L"Are you sure you want to continue?");
    EXPECT_EQ(Value(L"$Vendor_Name"), L"typed");
}

TEST_F(LoaderTest, AChosenFileSkipsOnlyTheFileDialog) {
    LoadChosenFile(sheet, L"/nonexistent/b.txt");
    EXPECT_FALSE(Logged(log, "About to select Orvik for loading."));
    EXPECT_TRUE(Logged(log, "Orvik /nonexistent/b.txt selected."));
    EXPECT_TRUE(Logged(log, "Failure: Unable to load Orvik /nonexistent/b.txt."));
    ASSERT_FALSE(prompt.History().empty());
    EXPECT_EQ(prompt.History().back().text, L"Failure: Unable to load Orvik /nonexistent/b.txt.");

    sheet.FindField(L"$Vendor_Name")->SetValue(L"typed");
    prompt.ClearHistory();
    prompt.SetNextAnswer(false);
    LoadChosenFile(sheet, L"/nonexistent/c.txt");
    ASSERT_EQ(prompt.History().size(), 1u);
    EXPECT_EQ(prompt.History()[0].kind, CScriptedPrompt::Shown::Question);
    EXPECT_FALSE(Logged(log, "Orvik /nonexistent/c.txt selected."));
    EXPECT_EQ(Value(L"$Vendor_Name"), L"typed");
}

class UpgradeTest : public LoaderTest {};

TEST_F(UpgradeTest, RenamedFieldsKeepTheirValues) {
    EXPECT_TRUE(Load("$Product_Name: \"X-100\"\r\n$VERSION_INFO: \"B\"\r\n"));
    EXPECT_EQ(Value(L"$Model_Part_Number"), L"X-100");
    EXPECT_EQ(Value(L"$Product_Revision"), L"B");
    EXPECT_TRUE(Logged(log, "\"$Product_Name\" is not a valid field in this version of the Orvik.  "
                            "It will be upgraded to the current version."));
}

TEST_F(UpgradeTest, OldNameWinsOverCurrentNameAndTwiceIsDiscarded) {
    EXPECT_TRUE(Load("$Model_Part_Number: \"new\"\r\n$Product_Name: \"old\"\r\n"));
    EXPECT_EQ(Value(L"$Model_Part_Number"), L"old");
    EXPECT_TRUE(Load("$Model_Part_Number: \"new\"\r\n$Product_Name: \"a\"\r\n$Product_Name: \"b\"\r\n"));
    EXPECT_EQ(Value(L"$Model_Part_Number"), L"new");
}

TEST_F(UpgradeTest, DeviceTypeIsSplitIntoFourFields) {
    struct SCase {
        const char* value;
        const wchar_t* productType;
        const wchar_t* connector;
        const wchar_t* pdSupport;
        const wchar_t* portType;
    };
    const SCase cases[] = {
        {"3", L"0", L"2", L"YES", L"3"},
        {"5", L"1", L"", L"YES", L""},
        {"6", L"0", L"2", L"NO", L""},
        {"9", L"", L"", L"", L""},
    };
    for (const SCase& c : cases) {
        // Entries for the split fields in the same file give way to the split.
        ASSERT_TRUE(Load(std::string("Connector_Type: 1\r\nPD_Port_Type: 4\r\nUUT_Device_Type: ") + c.value +
                         "\r\n"));
        const auto collected = UpgraderOf(sheet).Collected();
        auto stored = [&](const wchar_t* pattern) {
            auto it = collected.find(pattern);
            return it == collected.end() ? std::wstring(L"<none>") : it->second.value;
        };
        EXPECT_EQ(stored(L"^Orvik_Product_Type$"), c.productType) << c.value;
        EXPECT_EQ(stored(L"^Connector_Type$"), c.connector) << c.value;
        EXPECT_EQ(stored(L"^USB_PD_Support$"), c.pdSupport) << c.value;
        EXPECT_EQ(stored(L"^PD_Port_Type$"), c.portType) << c.value;
        EXPECT_EQ(sheet.FindField(L"Orvik_Product_Type")->FileEntryValue(), c.productType) << c.value;
    }
}

TEST_F(UpgradeTest, DeviceTypeThreeMakesAProviderOnlyTypeCPort) {
    ASSERT_TRUE(Load("UUT_Device_Type: 3\r\n"));
    EXPECT_EQ(Value(L"Orvik_Product_Type"), L"0");
    EXPECT_EQ(Value(L"Connector_Type"), L"2");
    EXPECT_EQ(Value(L"USB_PD_Support"), L"YES");
    EXPECT_EQ(Value(L"PD_Port_Type"), L"3");
    EXPECT_EQ(Value(L"Type_C_State_Machine"), L"0") << "Provider Only leaves SRC as the only state machine";
}

TEST_F(UpgradeTest, TheRetiredNamesItListsAreTheOnesALoadUpgrades) {
    const std::vector<SRetiredField> retired = RetiredFields();
    ASSERT_EQ(retired.size(), 10u);
    for (const SRetiredField& field : retired) {
        ASSERT_FALSE(field.currentNames.empty());
        const std::string oldName = orvik::ToUtf8(field.oldName);
        const std::string value = oldName[0] == '$' ? "\"old\"" : "3";
        ASSERT_TRUE(Load(oldName + ": " + value + "\r\n"));
        const auto collected = UpgraderOf(sheet).Collected();
        EXPECT_EQ(collected.size(), field.currentNames.size()) << oldName;
        for (const std::wstring& current : field.currentNames) {
            EXPECT_EQ(collected.count(PatternOf(current)), 1u) << oldName;
            if (field.currentNames.size() == 1 && collected.count(PatternOf(current)) == 1) {
                EXPECT_EQ(collected.at(PatternOf(current)).value, oldName[0] == '$' ? L"old" : L"3")
                    << oldName;
            }
        }
    }
}

} // namespace
