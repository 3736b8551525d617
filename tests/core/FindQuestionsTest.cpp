#include "sheet/FindQuestions.h"
#include "FullForm.h"
#include "LogCapture.h"
#include "model/FieldList.h"
#include "model/ParameterField.h"
#include "persistence/OrvikReader.h"
#include "sheet/Explanation.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Names(const std::vector<SQuestionMatch>& matches) {
    std::vector<std::wstring> names;
    for (const SQuestionMatch& match : matches) {
        names.push_back(QuestionName(*match.field));
    }
    return names;
}

const SQuestionMatch* Named(const std::vector<SQuestionMatch>& matches, const std::wstring& name) {
    for (const SQuestionMatch& match : matches) {
        if (QuestionName(*match.field) == name) {
            return &match;
        }
    }
    return nullptr;
}

class FindQuestionsTest : public ::testing::Test {
protected:
    void SetUp() override { sheet.Initialize(); }

    CScopedLogCapture log;
    CMarnelPropertySheet sheet;
};

TEST_F(FindQuestionsTest, NoTextFindsNothingAndUnknownTextFindsNothing) {
    EXPECT_TRUE(FindQuestions(sheet, L"").empty());
    EXPECT_TRUE(FindQuestions(sheet, L"no question holds this").empty());
}

TEST_F(FindQuestionsTest, NamesMatchAnyCaseAndAnyPartWithoutTheDollar) {
    const std::vector<SQuestionMatch> matches = FindQuestions(sheet, L"VENDOR_n");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].page, EPage::Intro);
    EXPECT_EQ(matches[0].field, sheet.FindField(L"$Vendor_Name"));
    EXPECT_EQ(QuestionName(*matches[0].field), L"Vendor_Name");
    EXPECT_TRUE(matches[0].asked);
    // The dollar of a free-text name is not part of the name the user sees.
    EXPECT_TRUE(FindQuestions(sheet, L"$vendor").empty());
}

TEST_F(FindQuestionsTest, HelpTextsMatchToo) {
    const std::vector<SQuestionMatch> matches = FindQuestions(sheet, L"Certifying Organisation");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(QuestionName(*matches[0].field), L"TID");
    EXPECT_EQ(QuestionHelp(sheet.Page(EPage::Intro), *matches[0].field),
              L"The test identification number, provided by the certifying organisation.");
}

TEST_F(FindQuestionsTest, MatchesComeInPageOrderThenFormOrder) {
    const std::vector<SQuestionMatch> matches = FindQuestions(sheet, L"manufacturer_info_");
    ASSERT_GE(matches.size(), 3u);
    EXPECT_EQ(Names(matches)[0], L"Manufacturer_Info_Supported_Port");
    EXPECT_EQ(Names(matches)[1], L"Manufacturer_Info_VID_Port");
    EXPECT_EQ(Names(matches)[2], L"Manufacturer_Info_PID_Port");
    for (std::size_t i = 1; i < matches.size(); ++i) {
        EXPECT_LE(static_cast<int>(matches[i - 1].page), static_cast<int>(matches[i].page));
    }
    // "product" is in the names and helps of several pages: still in page order.
    const std::vector<SQuestionMatch> many = FindQuestions(sheet, L"product");
    ASSERT_GT(many.size(), 3u);
    for (std::size_t i = 1; i < many.size(); ++i) {
        ASSERT_LE(static_cast<int>(many[i - 1].page), static_cast<int>(many[i].page));
    }
}

TEST_F(FindQuestionsTest, QuestionsNotAskedAreFoundAndMarked) {
    // Before the product type is chosen only the Intro tab is present.
    const std::vector<SQuestionMatch> before = FindQuestions(sheet, L"Cable_Latency");
    ASSERT_EQ(before.size(), 1u);
    EXPECT_EQ(before[0].page, EPage::Cables1);
    EXPECT_FALSE(sheet.HasTab(EPage::Cables1));
    EXPECT_FALSE(before[0].asked);

    ASSERT_TRUE(LoadOrvikBytes(sheet, L"cable.txt", orvik::testsupport::FullCableForm()));
    ASSERT_TRUE(sheet.HasTab(EPage::Cables1));
    const std::vector<SQuestionMatch> after = FindQuestions(sheet, L"Cable_Latency");
    ASSERT_EQ(after.size(), 1u);
    EXPECT_TRUE(after[0].asked);

    // A cable has no port label: its question is on a present tab but not available.
    const std::vector<SQuestionMatch> labels = FindQuestions(sheet, L"port_label");
    const SQuestionMatch* label = Named(labels, L"Port_Label");
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(sheet.HasTab(label->page));
    EXPECT_FALSE(label->field->IsAvailable());
    EXPECT_FALSE(label->asked);
}

TEST_F(FindQuestionsTest, ItemQuestionsAreFoundNamedByTheirItemAndTab) {
    ASSERT_TRUE(LoadOrvikBytes(sheet, L"port.txt", orvik::testsupport::FullPortForm(2, 1, 2, 1)));
    const CFieldGroupList& pdos = sheet.GetGroupList(sheet.Page(EPage::Source).ListedGroupType());
    ASSERT_EQ(pdos.Size(), 2u);
    const std::wstring tab = sheet.Page(EPage::Source).TabLabel();

    const std::vector<SQuestionMatch> peaks = FindQuestions(sheet, L"peak_current");
    ASSERT_EQ(peaks.size(), 2u);
    for (std::size_t i = 0; i < peaks.size(); ++i) {
        const SQuestionMatch& peak = peaks[i];
        EXPECT_EQ(peak.page, EPage::Source);
        EXPECT_EQ(peak.field,
                  pdos.At(i).Fields().FindField(L"Src_PDO_Peak_Current" + std::to_wstring(i + 1)));
        EXPECT_EQ(peak.item, std::vector<int>{static_cast<int>(i)});
        EXPECT_TRUE(peak.asked);
        EXPECT_EQ(MatchTarget(sheet, peak).field, peak.field);
    }
    EXPECT_EQ(MatchWords(sheet, peaks[1]), L"Src_PDO_Peak_Current (Source PDO 2, " + tab + L")");
    // The page's own questions come before its items'.
    const std::vector<SQuestionMatch> source = FindQuestions(sheet, L"src_pdo");
    ASSERT_FALSE(source.empty());
    EXPECT_TRUE(source.front().item.empty());
    EXPECT_FALSE(source.back().item.empty());

    // A mode is found below its SVID, on the SVID's tab; only its SVID's dialog lists it.
    const std::vector<SQuestionMatch> modes = FindQuestions(sheet, L"mode1_enter");
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[1].page, EPage::SOPDiscovery2);
    EXPECT_EQ(modes[1].item, (std::vector<int>{1, 0}));
    EXPECT_EQ(MatchWords(sheet, modes[1]), L"SVID_mode_enter_SOP (SOP SVID 2 - Mode 1, " +
                                               sheet.Page(EPage::SOPDiscovery2).TabLabel() + L")");

    // Its SVID's modes are fixed, so it is not asked for a recognition mask: the SVID's dialog,
    // where that is answered, is the one to open.
    const std::vector<SQuestionMatch> masks = FindQuestions(sheet, L"mode1_recog_mask");
    ASSERT_EQ(masks.size(), 2u);
    EXPECT_FALSE(masks[1].asked);
    EXPECT_EQ(MatchTarget(sheet, masks[1]).item, std::vector<int>{1});
    EXPECT_EQ(masks[1].itemName, L"SOP SVID 2 - Mode 1");
    EXPECT_EQ(MatchTarget(sheet, masks[1]).field,
              sheet.GetGroupList(EGroupType::SopSvid).At(1).Fields().FindField(L"SVID2_modes_fixed_SOP"));

    // A fixed PDO has no power to give: the dialog goes to the supply type that decides it.
    const std::vector<SQuestionMatch> powers = FindQuestions(sheet, L"Src_PDO_Max_Power");
    ASSERT_EQ(powers.size(), 2u);
    EXPECT_FALSE(powers[0].asked);
    EXPECT_EQ(MatchTarget(sheet, powers[0]).field, pdos.At(0).Fields().FindField(L"Src_PDO_Supply_Type1"));
}

TEST_F(FindQuestionsTest, APageQuestionNotAskedGoesToTheAskedQuestionThatKeepsItHidden) {
    CParameterField* product = sheet.FindField(L"Orvik_Product_Type");
    ASSERT_TRUE(product && product->IsAvailable());
    EXPECT_EQ(DecidingParent(sheet, *product), nullptr);
    // A port's label waits for the product type, which is asked.
    ASSERT_TRUE(LoadOrvikBytes(sheet, L"cable.txt", orvik::testsupport::FullCableForm()));
    const std::vector<SQuestionMatch> labels = FindQuestions(sheet, L"port_label");
    const SQuestionMatch* label = Named(labels, L"Port_Label");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(MatchTarget(sheet, *label).field, product);
    // The cable's latency needs a product type of the cable tab, which a port is not asked: the
    // question deciding that one is the one to go to.
    ASSERT_TRUE(LoadOrvikBytes(sheet, L"port.txt", orvik::testsupport::FullPortForm(2, 1, 2, 1)));
    CParameterField* latency = sheet.FindField(L"Cable_Latency");
    ASSERT_TRUE(latency && !latency->IsAvailable());
    EXPECT_EQ(DecidingParent(sheet, *latency), product);
    EXPECT_EQ(MatchTarget(sheet, FindQuestions(sheet, L"Cable_Latency").front()).field, product);
    // Looking for it left every answer as it was.
    EXPECT_EQ(product->Value(), L"0");
    EXPECT_FALSE(latency->IsAvailable());
}

} // namespace
