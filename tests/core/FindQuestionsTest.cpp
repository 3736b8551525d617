#include "sheet/FindQuestions.h"
#include "FullForm.h"
#include "LogCapture.h"
#include "model/ParameterField.h"
#include "persistence/OrvikReader.h"
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

} // namespace
