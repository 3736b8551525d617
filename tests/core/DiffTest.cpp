#include "CliTool.h"
#include "FullForm.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#ifdef ORVIK_CLI_PATH

namespace {

using orvik::testsupport::FullPortForm;

// Whole lines of a file and what stands there instead; an empty replacement drops the line.
using SEdits = std::vector<std::pair<std::string, std::string>>;

std::string Edited(std::string text, const SEdits& edits) {
    for (const auto& [line, replacement] : edits) {
        const std::size_t at = text.find(line + "\r\n");
        EXPECT_NE(at, std::string::npos) << line;
        if (at != std::string::npos) {
            text.replace(at, line.size() + 2, replacement.empty() ? "" : replacement + "\r\n");
        }
    }
    return text;
}

struct SDiffCase {
    const char* what;
    SEdits editsOfB;
    bool bFirst; // compare B with A instead of A with B
    std::string out;
};

TEST_F(CliTool, DiffListsTheAnswersThatDifferTabByTab) {
    const std::string a = FullPortForm(2, 1, 1, 2);
    Write("a.txt", a);
    const SEdits portLabel = {{"$Port_Label: \"P1\"", "$Port_Label: \"P 2\""}};
    const SEdits pdoCurrent = {{"Src_PDO_Max_Current2: 300", "Src_PDO_Max_Current2: 200"}};
    const SEdits noPings = {{"Sends_Pings: NO", ""}};
    const std::vector<SDiffCase> cases = {
        {"the same file", {}, false, ""},
        {"an old name for the same answer",
         {{"$Model_Part_Number: \"M/1\"", "$Product_Name: \"M/1\""}},
         false,
         ""},
        {"the producer of another version",
         {{"$Vendor_Name: \"Ab Co\"", "$Orvik_Producer: \"Old Generator\"\r\n$Vendor_Name: \"Ab Co\""}},
         false,
         ""},
        {"one changed answer", portLabel, false, "[changed] Intro\n  $Port_Label: \"P1\" -> \"P 2\"\n"},
        {"an old name for another answer",
         {{"$Model_Part_Number: \"M/1\"", "$Product_Name: \"M/2\""}},
         false,
         "[changed] Intro\n  $Model_Part_Number: \"M/1\" -> \"M/2\"\n"},
        {"an answer in A only", noPings, false, "[changed] PD Source\n  Sends_Pings: NO -> (none)\n"},
        {"an answer in B only", noPings, true, "[changed] PD Source\n  Sends_Pings: (none) -> NO\n"},
        {"a changed PDO", pdoCurrent, false,
         "[changed] PD Source\n  Source PDO 2: Src_PDO_Max_Current2: 3000 -> 2000\n"},
        {"a changed mode",
         {{"SVID1_mode2_enter_SOP: YES", "SVID1_mode2_enter_SOP: NO"}},
         false,
         "[changed] SOP Discovery - Part Two\n  SOP SVID 1 - Mode 2: SVID1_mode2_enter_SOP: YES -> NO\n"},
        {"tabs in tab order, a tab's own answers before its PDOs",
         {pdoCurrent[0], {"PD_Power_as_Source: 60000", "PD_Power_as_Source: 45000"}, portLabel[0]},
         false,
         "[changed] Intro\n  $Port_Label: \"P1\" -> \"P 2\"\n"
         "[changed] PD Source\n  PD_Power_as_Source: 60000 -> 45000\n"
         "  Source PDO 2: Src_PDO_Max_Current2: 3000 -> 2000\n"},
    };
    for (const SDiffCase& c : cases) {
        Write("b.txt", Edited(a, c.editsOfB));
        const SRun run = c.bFirst ? Run({"diff", "b.txt", "a.txt"}) : Run({"diff", "a.txt", "b.txt"});
        EXPECT_EQ(run.code, c.out.empty() ? 0 : 1) << c.what;
        EXPECT_EQ(run.out, c.out) << c.what;
    }
}

// An item on one side only is announced, then every answer it holds follows as added or removed.
TEST_F(CliTool, DiffAnnouncesItemsOnOneSideOnly) {
    Write("a.txt", FullPortForm(2, 1, 1, 2));
    Write("b.txt", FullPortForm(3, 1, 2, 2));
    for (const bool added : {true, false}) {
        const SRun run = added ? Run({"diff", "a.txt", "b.txt"}) : Run({"diff", "b.txt", "a.txt"});
        EXPECT_EQ(run.code, 1);
        const std::string word = added ? "added" : "removed";
        for (const std::string item :
             {"Source PDO 3", "SOP SVID 2", "SOP SVID 2 - Mode 1", "SOP SVID 2 - Mode 2"}) {
            EXPECT_NE(run.out.find("\n  " + item + ": " + word + "\n"), std::string::npos) << item << run.out;
        }
        EXPECT_NE(run.out.find(added ? "\n  Source PDO 3: Src_PDO_Voltage3: (none) -> 7000\n"
                                     : "\n  Source PDO 3: Src_PDO_Voltage3: 7000 -> (none)\n"),
                  std::string::npos)
            << run.out;
        // Every answer of an item on one side only is on that side alone.
        std::istringstream lines(run.out);
        for (std::string line; std::getline(lines, line);) {
            const bool ofItem = line.rfind("  Source PDO 3: ", 0) == 0 || line.rfind("  SOP SVID 2", 0) == 0;
            if (ofItem && !line.ends_with(": " + word)) {
                EXPECT_NE(line.find(added ? ": (none) -> " : " -> (none)"), std::string::npos) << line;
            }
        }
    }
}

TEST_F(CliTool, DiffBriefSaysOnlyWhetherTheFilesDiffer) {
    const std::string a = FullPortForm(1, 1, 1, 1);
    Write("a.txt", a);
    Write("b.txt", Edited(a, {{"Sends_Pings: NO", "Sends_Pings: YES"}}));
    const SRun differ = Run({"diff", "--brief", "a.txt", "b.txt"});
    EXPECT_EQ(differ.code, 1);
    EXPECT_EQ(differ.out, "Files a.txt and b.txt differ\n");
    const SRun same = Run({"diff", "a.txt", "a.txt", "--brief"});
    EXPECT_EQ(same.code, 0);
    EXPECT_EQ(same.out, "");
}

TEST_F(CliTool, DiffOfAnUnreadableFileExits2WithTheLoaderMessage) {
    Write("a.txt", FullPortForm(1, 1, 1, 1));
    Write("junk.txt", "not a line of a form\n");
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"missing.txt", "a.txt"}, "missing.txt': No such file or directory"},
        {{"a.txt", "missing.txt"}, "missing.txt': No such file or directory"},
        {{"a.txt", "junk.txt"}, "junk.txt': not an Orvik file"},
    };
    for (const auto& [files, reason] : cases) {
        const SRun run = Run({"diff", files[0], files[1]});
        EXPECT_EQ(run.code, 2) << reason;
        EXPECT_EQ(run.out, "");
        // The loader's last word on the file; a line it could not read comes before.
        EXPECT_TRUE(run.err.ends_with("Couldn't read from file '" + reason + "\n")) << run.err;
    }
}

} // namespace

#endif
