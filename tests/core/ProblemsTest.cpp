#include "sheet/Problems.h"
#include "FormFixture.h"
#include "FullForm.h"
#include "LogCapture.h"
#include "catalog/GroupCatalog.h"
#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// The complete port of FullPortForm(2, 1, 2, 1) with some of its answers replaced.
std::string EditedPort(const std::vector<std::pair<std::string, std::string>>& edits) {
    std::string text = orvik::testsupport::FullPortForm(2, 1, 2, 1);
    for (const auto& [from, to] : edits) {
        const std::size_t at = text.find(from);
        if (at == std::string::npos) {
            ADD_FAILURE() << "no " << from;
            continue;
        }
        text.replace(at, from.size(), to);
    }
    return text;
}

std::vector<std::string> Reasons(const std::vector<SProblem>& problems) {
    std::vector<std::string> reasons;
    for (const SProblem& problem : problems) {
        reasons.push_back(Narrow(problem.reason));
    }
    return reasons;
}

class ProblemsTest : public CFormFixture {
protected:
    void Load(const std::string& text) { ASSERT_TRUE(CFormFixture::Load(text, L"port.txt")); }

    // The one problem whose reason starts with `start`; a failure when there is none or several.
    SProblem Only(const std::vector<SProblem>& problems, const std::string& start) {
        const SProblem* found = nullptr;
        for (const SProblem& problem : problems) {
            if (Narrow(problem.reason).rfind(start, 0) == 0) {
                EXPECT_EQ(found, nullptr) << "twice: " << start;
                found = &problem;
            }
        }
        if (!found) {
            ADD_FAILURE() << "no problem " << start << " among "
                          << ::testing::PrintToString(Reasons(problems));
            return SProblem{};
        }
        return *found;
    }
};

TEST_F(ProblemsTest, ACompleteFormHasNone) {
    Load(orvik::testsupport::FullPortForm(2, 1, 2, 1));
    EXPECT_TRUE(CollectProblems(sheet).empty()) << ::testing::PrintToString(Reasons(CollectProblems(sheet)));
    for (const CPageSuper* page : sheet.Tabs()) {
        EXPECT_TRUE(CollectPageProblems(*page).empty()) << Narrow(page->SectionCaption());
    }
}

TEST_F(ProblemsTest, ReviewFlagsDoNotCount) {
    Load(orvik::testsupport::FullPortForm(2, 1, 2, 1));
    for (CPageSuper* page : sheet.Tabs()) {
        page->SetReviewFlag(true);
    }
    ASSERT_FALSE(sheet.Page(EPage::Source).IsPageValid());
    EXPECT_TRUE(CollectProblems(sheet).empty());
}

TEST_F(ProblemsTest, AFlaggedTabRefusesTheSaveAndSaysWhyItWaits) {
    Load(orvik::testsupport::FullPortForm(2, 1, 2, 1));
    const std::vector<SProblem> afterLoad = CollectSaveRefusals(sheet);
    EXPECT_EQ(afterLoad.size(), sheet.Tabs().size() - 1) << "every tab but the one shown";
    for (const SProblem& refusal : afterLoad) {
        EXPECT_EQ(refusal.reason, L"not yet reviewed since the load");
        EXPECT_NE(refusal.page, sheet.ActivePage().Id());
    }
    for (CPageSuper* page : sheet.Tabs()) {
        sheet.Activate(page->Id());
    }
    EXPECT_TRUE(CollectSaveRefusals(sheet).empty());

    sheet.Activate(EPage::UsbTypeC);
    Answer(L"Type_C_Can_Act_As_Host", L"NO");
    const std::vector<SProblem> afterChange = CollectSaveRefusals(sheet);
    const auto waiting = std::count_if(afterChange.begin(), afterChange.end(), [](const SProblem& refusal) {
        return refusal.reason == L"not yet reviewed since a change on another tab";
    });
    EXPECT_GE(waiting, 1) << ::testing::PrintToString(Reasons(afterChange));
}

TEST_F(ProblemsTest, AnInvalidAnswerNamesItsFieldAndWhatItAccepts) {
    Load(EditedPort({{"RP_Value: 2", "RP_Value: 7"}}));
    const std::vector<SProblem> problems = CollectProblems(sheet);
    ASSERT_EQ(problems.size(), 1u) << ::testing::PrintToString(Reasons(problems));
    const SProblem& problem = problems.front();
    EXPECT_EQ(problem.page, EPage::UsbTypeC);
    EXPECT_EQ(problem.field, sheet.FindField(L"RP_Value"));
    EXPECT_EQ(problem.groupListType, EGroupType::None);
    EXPECT_EQ(problem.groupIndex, -1);
    EXPECT_EQ(Narrow(problem.reason), "RP_Value: invalid value \"7\" (choices: 0 Default, 1 1.5A, 2 3A)");
    EXPECT_EQ(Narrow(FieldProblemReason(*problem.field)),
              "invalid value \"7\" (choices: 0 Default, 1 1.5A, 2 3A)");
}

TEST_F(ProblemsTest, AnUnansweredQuestionIsMissing) {
    Answer(L"Orvik_Product_Type", L"0");
    const std::vector<SProblem> problems = CollectProblems(sheet);
    const SProblem connector = Only(problems, "Connector_Type: ");
    EXPECT_EQ(Narrow(connector.reason), "Connector_Type: missing");
    EXPECT_EQ(connector.page, EPage::OrvikProduct);
    EXPECT_EQ(connector.field, sheet.FindField(L"Connector_Type"));
}

TEST_F(ProblemsTest, ListProblemsPointAtTheListAndTheGroup) {
    Load(EditedPort({{"Num_Src_PDOs: 2", "Num_Src_PDOs: 3"},
                     {"Src_PDO_Max_Current2: 300", "Src_PDO_Max_Current2: 600"},
                     {"SVID1_mode1_enter_SOP: YES", "SVID1_mode1_enter_SOP: NO"}}));
    const std::vector<SProblem> problems = CollectProblems(sheet);

    const SProblem list = Only(problems, "Source PDOs: ");
    EXPECT_EQ(Narrow(list.reason),
              "Source PDOs: list incomplete: 2 defined but Num_Src_PDOs is 3; PDO 2 incomplete");
    EXPECT_EQ(list.page, EPage::Source);
    EXPECT_EQ(list.field, nullptr);
    EXPECT_EQ(list.groupListType, EGroupType::SourcePdo);
    EXPECT_EQ(list.groupIndex, -1);

    // The second PDO's threshold follows its current and no longer fits.
    const SProblem inGroup = Only(problems, "Src_PD_OCP_OC_Threshold2: ");
    EXPECT_EQ(inGroup.page, EPage::Source);
    EXPECT_EQ(inGroup.groupListType, EGroupType::SourcePdo);
    EXPECT_EQ(inGroup.groupIndex, 1);
    ASSERT_NE(inGroup.field, nullptr);
    EXPECT_EQ(
        inGroup.field,
        sheet.GetGroupList(EGroupType::SourcePdo).At(1).FindField(L"^Src_PD_OCP_OC_Threshold([0-9]+)$"));

    const SProblem modes = Only(problems, "SVID1_SOP modes: ");
    EXPECT_EQ(Narrow(modes.reason), "SVID1_SOP modes: list incomplete: no mode can be entered");
    EXPECT_EQ(modes.field, nullptr);
    EXPECT_EQ(modes.groupListType, EGroupType::SopSvid);
    EXPECT_EQ(modes.groupIndex, 0);
    EXPECT_EQ(modes.page, sheet.Page(modes.page).Id());
    EXPECT_EQ(sheet.Page(modes.page).ListedGroupType(), EGroupType::SopSvid);
}

TEST_F(ProblemsTest, AFaultyModeAnswerPointsAtItsSvid) {
    Load(orvik::testsupport::FullPortForm(2, 1, 2, 1));
    // The loader drops a mode with a bad answer, so the answer goes wrong once the mode is there.
    CParameterField* enter = sheet.GetGroupList(EGroupType::SopSvid)
                                 .At(1)
                                 .ChildList()
                                 ->At(0)
                                 .FindField(L"^SVID([0-9]+)_mode([0-9]+)_enter_SOP$");
    ASSERT_NE(enter, nullptr);
    enter->SetValue(L"");
    const std::vector<SProblem> problems = CollectProblems(sheet);
    const SProblem mode = Only(problems, "SVID2_mode1_enter_SOP: ");
    EXPECT_EQ(Narrow(mode.reason), "SVID2_mode1_enter_SOP: missing");
    EXPECT_EQ(mode.field, enter);
    EXPECT_EQ(mode.groupListType, EGroupType::SopSvid);
    EXPECT_EQ(mode.groupIndex, 1);
    // The SVID's own line follows its fields and those of its modes.
    const SProblem modes = Only(problems, "SVID2_SOP modes: ");
    EXPECT_EQ(modes.groupIndex, 1);
    const std::vector<std::string> reasons = Reasons(problems);
    const auto at = [&](const SProblem& problem) {
        return std::find(reasons.begin(), reasons.end(), Narrow(problem.reason)) - reasons.begin();
    };
    EXPECT_LT(at(mode), at(modes));
}

TEST_F(ProblemsTest, APageRuleProblemHasNoField) {
    Load(EditedPort({{"Type_C_Implements_Try_SRC: NO", "Type_C_Implements_Try_SRC: YES"},
                     {"Type_C_Implements_Try_SNK: NO", "Type_C_Implements_Try_SNK: YES"}}));
    const std::vector<SProblem> problems = CollectPageProblems(sheet.Page(EPage::UsbTypeC));
    const SProblem rule = Only(problems, "Type_C_Implements_Try_SRC and ");
    EXPECT_EQ(Narrow(rule.reason), "Type_C_Implements_Try_SRC and Type_C_Implements_Try_SNK are both YES");
    EXPECT_EQ(rule.page, EPage::UsbTypeC);
    EXPECT_EQ(rule.field, nullptr);
    EXPECT_EQ(rule.groupListType, EGroupType::None);
    EXPECT_EQ(rule.groupIndex, -1);
}

TEST_F(ProblemsTest, ProblemsComeGroupedByTabInTabOrderAndFollowChanges) {
    Load(EditedPort({{"RP_Value: 2", "RP_Value: 7"},
                     {"PD_Power_as_Source: 60000", "PD_Power_as_Source: 15500"},
                     {"Num_Src_PDOs: 2", "Num_Src_PDOs: 3"},
                     {"SVID2_SOP: 0xFF02", "SVID2_SOP: 0xFF01"},
                     {"$Vendor_Name: \"Ab Co\"", "$Vendor_Name: \"\""}}));
    const std::vector<SProblem> problems = CollectProblems(sheet);
    std::vector<EPage> order;
    for (const SProblem& problem : problems) {
        if (order.empty() || order.back() != problem.page) {
            order.push_back(problem.page);
        }
    }
    std::vector<EPage> expected;
    for (const CPageSuper* page : sheet.Tabs()) {
        if (!page->AreAnswersValid()) {
            expected.push_back(page->Id());
        }
    }
    EXPECT_EQ(order, expected) << ::testing::PrintToString(Reasons(problems));
    ASSERT_GE(order.size(), 4u);
    EXPECT_EQ(order.front(), EPage::Intro);
    // Within the Source tab its own answers come before its list.
    const std::vector<std::string> reasons = Reasons(CollectPageProblems(sheet.Page(EPage::Source)));
    ASSERT_EQ(reasons.size(), 2u) << ::testing::PrintToString(reasons);
    EXPECT_EQ(reasons[0].rfind("PD_Power_as_Source: ", 0), 0u);
    EXPECT_EQ(reasons[1].rfind("Source PDOs: ", 0), 0u);

    Answer(L"RP_Value", L"1");
    for (const SProblem& problem : CollectProblems(sheet)) {
        EXPECT_NE(problem.page, EPage::UsbTypeC) << Narrow(problem.reason);
    }
}

// It starts the tool through a POSIX shell; on Windows the tool is compared from outside instead.
#if defined(ORVIK_CLI_PATH) && !defined(_WIN32)
// One source for both: `orvik check` prints, under each invalid tab, exactly the collected reasons.
TEST_F(ProblemsTest, CheckPrintsTheCollectedReasons) {
    const std::string text = EditedPort({{"RP_Value: 2", "RP_Value: 7"},
                                         {"Num_Src_PDOs: 2", "Num_Src_PDOs: 3"},
                                         {"Src_PDO_Max_Current2: 300", "Src_PDO_Max_Current2: 600"},
                                         {"SVID2_SOP: 0xFF02", "SVID2_SOP: 0xFF01"},
                                         {"SVID1_mode1_enter_SOP: YES", "SVID1_mode1_enter_SOP: NO"}});
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("orvik-problems-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(file, std::ios::binary) << text;
    Load(text);

    std::string printed;
    const std::string command = std::string(ORVIK_CLI_PATH) + " check '" + file.string() + "' 2>/dev/null";
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
            printed.append(buffer, n);
        }
        ::pclose(pipe);
    }
    std::filesystem::remove(file);

    std::string expected;
    std::vector<SProblem> problems = CollectProblems(sheet);
    auto next = problems.begin();
    for (const CPageSuper* page : sheet.Tabs()) {
        expected +=
            (page->AreAnswersValid() ? "[ok] " : "[invalid] ") + Narrow(page->SectionCaption()) + "\n";
        for (; next != problems.end() && next->page == page->Id(); ++next) {
            expected += "  " + Narrow(next->reason) + "\n";
        }
    }
    EXPECT_EQ(next, problems.end());
    EXPECT_EQ(printed, expected);
}
#endif

} // namespace
