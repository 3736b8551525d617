#include "FullForm.h"
#include "LogCapture.h"
#include "catalog/GroupCatalog.h"
#include "persistence/FileWriter.h"
#include "persistence/LoadFlow.h"
#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

class LoadReportTest : public ::testing::Test {
protected:
    void SetUp() override { sheet.Initialize(); }
    bool Load(const std::string& text) { return LoadOrvikBytes(sheet, L"C:\\dir\\in.txt", text); }
    const SLoadReport& Report() {
        const SLoadReport* report = LoadReportOf(sheet);
        EXPECT_NE(report, nullptr);
        static const SLoadReport none;
        return report ? *report : none;
    }

    CScopedLogCapture log;
    CScriptedPrompt prompt;
    CMarnelPropertySheet sheet{&prompt};
};

TEST_F(LoadReportTest, AFileWithoutOneEntryIsNoOrvikFileAndLeavesTheFormAsItWas) {
    ASSERT_TRUE(Load(orvik::testsupport::FullPortForm(2, 2, 1, 1)));
    sheet.FindField(L"$Vendor_Name")->SetValue(L"typed since");
    const std::string before = BuildOrvikBytes(sheet);

    EXPECT_FALSE(Load("\x7f"
                      "ELF\0\0\r\n; a comment\r\n\r\nnot a line\r\n\xff\xfe\r\n"s));
    EXPECT_EQ(BuildOrvikBytes(sheet), before);
    EXPECT_EQ(sheet.FindField(L"$Vendor_Name")->Value(), L"typed since");
    ASSERT_FALSE(prompt.History().empty());
    EXPECT_EQ(prompt.History().back().text, L"Couldn't read from file 'C:\\dir\\in.txt': not an Orvik file");
    EXPECT_EQ(Report().outcome, SLoadReport::EOutcome::NotAnOrvikFile);
    EXPECT_EQ(Report().unreadLines.count, 3u);
    ASSERT_FALSE(Report().Lines().empty());
    EXPECT_EQ(Report().Lines().front(), L"[not loaded] not an Orvik file");

    // Random text in which one line happens to read as an entry, of a field no question takes.
    EXPECT_FALSE(Load("Dear vendor,\r\nPort: 2\r\nregards\r\n"));
    EXPECT_EQ(BuildOrvikBytes(sheet), before);
    EXPECT_EQ(Report().outcome, SLoadReport::EOutcome::NotAnOrvikFile);
    EXPECT_EQ(Report().unknownFields.count, 1u);
    ASSERT_GE(Report().Lines().size(), 2u);
    EXPECT_EQ(Report().Lines().front(), L"[not loaded] not an Orvik file");
    // One known name, a list's item or a retired one, makes it an Orvik file.
    for (const char* known : {"Src_PDO_Voltage1: 100\r\n", "$Product_Name: \"old\"\r\n"}) {
        EXPECT_TRUE(Load("Subject: your port\r\n"s + known)) << known;
        EXPECT_NE(Report().outcome, SLoadReport::EOutcome::NotAnOrvikFile) << known;
    }

    // Blank and comment lines alone are no lines that failed: such a file loads, empty.
    EXPECT_TRUE(Load("; nothing but a comment\r\n\r\n"));
    EXPECT_EQ(sheet.FindField(L"$Vendor_Name")->Value(), L"");
    EXPECT_TRUE(Report().Clean());
    EXPECT_TRUE(Report().Lines().empty());
}

TEST_F(LoadReportTest, RepeatedItemsPastTheirListsLimitCountOnceEach) {
    ASSERT_TRUE(Load(orvik::testsupport::FullPortForm(500, 2, 1, 1)));
    EXPECT_EQ(sheet.GetGroupList(EGroupType::SourcePdo).Size(), 7u);
    const SLoadReport& report = Report();
    EXPECT_EQ(report.outcome, SLoadReport::EOutcome::Loaded);
    EXPECT_EQ(report.beyondLimit.count, 493u);
    EXPECT_EQ(report.unknownFields.count, 0u);
    EXPECT_EQ(report.unreadLines.count, 0u);
    ASSERT_EQ(report.beyondLimit.examples.size(), SLoadReport::kMaxExamples);
    EXPECT_TRUE(report.beyondLimit.examples[0].ends_with(L"8")) << report.beyondLimit.examples[0];
    const std::vector<std::wstring> lines = report.Lines();
    ASSERT_EQ(lines.size(), 1 + SLoadReport::kMaxExamples + 1);
    EXPECT_EQ(lines.front(), L"[beyond limit] 493 repeated items");
    EXPECT_EQ(lines.back(), L"  and 488 more");
}

TEST_F(LoadReportTest, TheWholeListingNamesEveryExampleKeptAndCountsThoseBeyondTheBound) {
    std::string text = "$Vendor_Name: \"V\"\r\n";
    const std::size_t unknown = SLoadReport::kMaxKeptExamples + 2;
    for (std::size_t i = 1; i <= unknown; ++i) {
        text += "No_Such_Field" + std::to_string(i) + ": 1\r\nnot a line " + std::to_string(i) + "\r\n";
    }
    ASSERT_TRUE(Load(text));
    const SLoadReport& report = Report();
    EXPECT_EQ(report.unknownFields.count, unknown);
    EXPECT_EQ(report.unreadLines.count, unknown);
    // The report at a glance keeps to the first few.
    EXPECT_EQ(report.Lines().size(), 2 * (1 + SLoadReport::kMaxExamples + 1));

    const std::vector<std::wstring> all = report.AllLines();
    const std::size_t perKind = 1 + SLoadReport::kMaxKeptExamples + 1;
    ASSERT_EQ(all.size(), 2 * perKind);
    EXPECT_EQ(all[0], L"[not read] 1002 lines");
    EXPECT_EQ(all[1], L"  'not a line 1'");
    EXPECT_EQ(all[SLoadReport::kMaxKeptExamples], L"  'not a line 1000'");
    EXPECT_EQ(all[perKind - 1], L"  and 2 more");
    EXPECT_EQ(all[perKind], L"[unknown] 1002 fields");
    EXPECT_EQ(all[perKind + SLoadReport::kMaxKeptExamples], L"  No_Such_Field1000");
    EXPECT_EQ(all.back(), L"  and 2 more");

    // With every example kept, the whole listing has no "more".
    ASSERT_TRUE(Load(orvik::testsupport::FullPortForm(500, 2, 1, 1)));
    const std::vector<std::wstring> beyond = Report().AllLines();
    ASSERT_EQ(beyond.size(), 1 + 493u);
    EXPECT_EQ(beyond.back(), L"  Src_PDO_Supply_Type500");
}

TEST_F(LoadReportTest, NamesEachKindOfEntryNotTakenAsWritten) {
    ASSERT_TRUE(Load("$Product_Name: \"X-100\"\r\nUUT_Device_Type: 3\r\n$TID: \"1\"\r\n$TID: \"2\"\r\n"
                     "No_Such_Field: 1\r\nSrc_PDO_Voltage0: 100\r\nSVID53_SOP: 0x1234\r\n"
                     "SVID53_mode1_enter_SOP: YES\r\nConnector_Type: 0X02\r\n"));
    EXPECT_EQ(sheet.FindField(L"$Model_Part_Number")->Value(), L"X-100");
    const std::vector<std::wstring> expected = {
        L"[not read] 1 line",
        L"  'Connector_Type: 0X02'",
        L"[unknown] 2 fields",
        L"  No_Such_Field",
        L"  Src_PDO_Voltage0",
        L"[discarded] 1 field given more than once",
        L"  $TID: 2 entries",
        L"[beyond limit] 1 repeated item",
        L"  SVID53_SOP",
        L"[upgraded] 2 old names",
        L"  $Product_Name: now $Model_Part_Number",
        L"  UUT_Device_Type: now Orvik_Product_Type, Connector_Type, USB_PD_Support, PD_Port_Type",
    };
    EXPECT_EQ(Report().Lines(), expected);
}

TEST_F(LoadReportTest, TheLoadCommandHandsBackTheReportOfTheLoadItRan) {
    const SLoadReport* report = LoadChosenFile(sheet, L"/nonexistent/a.txt");
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(report->outcome, SLoadReport::EOutcome::NotRead);
    EXPECT_EQ(report->path, L"/nonexistent/a.txt");
    EXPECT_FALSE(report->readError.empty());

    sheet.FindField(L"$Vendor_Name")->SetValue(L"typed");
    prompt.SetNextAnswer(false);
    EXPECT_EQ(LoadChosenFile(sheet, L"/nonexistent/b.txt"), nullptr);
}

} // namespace
