#include "persistence/SaveFlow.h"
#include "FullForm.h"
#include "LogCapture.h"
#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

bool Logged(const CScopedLogCapture& log, const std::string& line) {
    return std::find(log.Lines().begin(), log.Lines().end(), line) != log.Lines().end();
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class SaveFlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        sheet.Initialize();
        dir = fs::temp_directory_path() /
              ("orvik-save-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }
    void Set(const wchar_t* name, const wchar_t* value) { sheet.FindField(name)->SetValue(value); }
    std::wstring Name() {
        std::wstring name;
        return GenerateOutputFileName(sheet, name) ? name : L"<none>";
    }
    // A complete form, with every tab visited as a user must before saving.
    void LoadCompleteForm() {
        ASSERT_TRUE(LoadOrvikBytes(sheet, L"complete.txt", orvik::testsupport::FullPortForm(2, 2, 1, 1)));
        for (CPageSuper* page : sheet.Tabs()) {
            sheet.Activate(page->Id());
        }
        sheet.Activate(EPage::Intro);
    }

    CScopedLogCapture log;
    CScriptedPrompt prompt;
    CMarnelPropertySheet sheet{&prompt};
    fs::path dir;
};

TEST_F(SaveFlowTest, FileNameIsBuiltFromTheIdentificationFields) {
    EXPECT_EQ(Name(), L"<none>");
    Set(L"$Vendor_Name", L"Ab Co");
    Set(L"$Model_Part_Number", L"M/1");
    Set(L"$Product_Revision", L"2");
    EXPECT_EQ(Name(), L"<none>") << "the TID is missing";
    Set(L"$TID", L"123");
    EXPECT_EQ(Name(), L"Ab-Co__M-1__2__123.txt");
    Set(L"Orvik_Product_Type", L"0");
    EXPECT_EQ(Name(), L"Ab-Co__M-1__2__123.txt") << "an empty port label adds nothing";
    Set(L"$Port_Label", L"P1");
    EXPECT_EQ(Name(), L"Ab-Co__M-1__2__123__P1.txt");
    Set(L"Orvik_Product_Type", L"1");
    EXPECT_EQ(Name(), L"Ab-Co__M-1__2__123.txt") << "only a port adds its label";
    Set(L"$Vendor_Name", L"A/B:C*D?E\"F<G>H|I\\J_K-L");
    EXPECT_EQ(Name(), L"A-B-C-D-E-F-G-H-I-J_K-L__M-1__2__123.txt");
    EXPECT_EQ(sheet.OutputFileName(), L"A-B-C-D-E-F-G-H-I-J_K-L__M-1__2__123.txt");
    sheet.FindField(L"$Vendor_Name")
        ->SetValue(std::wstring(L"A\0B\tC\x7f"
                                L"D",
                                7));
    EXPECT_EQ(Name(), L"A-B-C-D__M-1__2__123.txt") << "control characters from a loaded file";
}

TEST_F(SaveFlowTest, TitleShowsTheFileNameWithoutItsFolder) {
    SetSheetTitle(sheet, L"");
    EXPECT_EQ(sheet.Title(), L"Orvik Generator 1.2.2.2");
    SetSheetTitle(sheet, L"C:\\work\\a.txt");
    EXPECT_EQ(sheet.Title(), L"Orvik Generator 1.2.2.2 - [a.txt]");
    SetSheetTitle(sheet, L"/home/u/b.txt");
    EXPECT_EQ(sheet.Title(), L"Orvik Generator 1.2.2.2 - [b.txt]");
}

TEST_F(SaveFlowTest, IncompleteFormIsNotSaved) {
    EXPECT_FALSE(OnApply(sheet, false, dir.wstring()));
    EXPECT_TRUE(Logged(log, "Apply button selected."));
    EXPECT_TRUE(Logged(log, "Intro page filled out incorrectly."));
    EXPECT_TRUE(Logged(log, "Couldn't save Orvik: form not complete or invalid data entered."));
    ASSERT_EQ(prompt.History().size(), 1u);
    EXPECT_EQ(prompt.History()[0].kind, CScriptedPrompt::Shown::Error);
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(SaveFlowTest, AnInvalidTabNeverVisitedIsReportedWithoutItsName) {
    LoadCompleteForm();
    sheet.Page(EPage::General).SetHasWindow(false);
    sheet.FindField(L"Num_Fixed_Batteries")->SetValue(L"9");
    EXPECT_FALSE(ValidateAndSave(sheet, dir.wstring()));
    EXPECT_TRUE(Logged(log, "One or more pages are filled out incorrectly."));
}

TEST_F(SaveFlowTest, ApplySavesAndStaysOpenOkSavesAndCloses) {
    LoadCompleteForm();
    EXPECT_FALSE(OnApply(sheet, false, dir.wstring())) << "Apply keeps the sheet open";
    const fs::path file = dir / "Ab-Co__M-1__2__123__P1.txt";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_TRUE(Logged(log, "Output file name generated: Ab-Co__M-1__2__123__P1.txt"));
    EXPECT_TRUE(Logged(log, "Success: Orvik saved to Ab-Co__M-1__2__123__P1.txt."));
    EXPECT_EQ(sheet.Title(), L"Orvik Generator 1.2.2.2 - [Ab-Co__M-1__2__123__P1.txt]");
    ASSERT_EQ(prompt.History().size(), 1u);
    EXPECT_EQ(prompt.History()[0].kind, CScriptedPrompt::Shown::Information);
    EXPECT_EQ(prompt.History()[0].text, L"A text file has been generated in the same directory as this "
                                        L"application. It is named Ab-Co__M-1__2__123__P1.txt.");

    EXPECT_FALSE(OnApply(sheet, false, dir.wstring()));
    EXPECT_EQ(prompt.History().size(), 2u) << "Apply again shows the box again";
    EXPECT_TRUE(OnApply(sheet, true, dir.wstring())) << "OK closes the sheet";
    EXPECT_EQ(prompt.History().size(), 3u);
    EXPECT_TRUE(OnApply(sheet, true, dir.wstring()));
    EXPECT_EQ(prompt.History().size(), 3u) << "after OK the box is not shown again";

    // What was saved is what the form holds, and it loads back.
    CMarnelPropertySheet reloaded;
    reloaded.Initialize();
    EXPECT_TRUE(LoadOrvik(reloaded, file.wstring()));
    EXPECT_EQ(reloaded.FindField(L"$Port_Label")->Value(), L"P1");
}

TEST_F(SaveFlowTest, FailedWriteLeavesThePreviousFileAndNoLeftovers) {
    LoadCompleteForm();
    // The target name is taken by a folder: the finished temporary file cannot replace it.
    fs::create_directories(dir / "Ab-Co__M-1__2__123__P1.txt" / "keep");
    EXPECT_FALSE(OnApply(sheet, false, dir.wstring()));
    ASSERT_GE(prompt.History().size(), 2u);
    EXPECT_EQ(prompt.History()[0].text.rfind(L"Failure: couldn't open Ab-Co__M-1__2__123__P1.txt: ", 0), 0u);
    EXPECT_EQ(prompt.History()[1].text, L"Couldn't save Orvik: form not complete or invalid data entered.");
    EXPECT_TRUE(fs::exists(dir / "Ab-Co__M-1__2__123__P1.txt" / "keep"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
        << "no temporary file left";

    // A folder that cannot exist: the file is not written and nothing is created.
    std::ofstream(dir / "plain-file") << "x";
    prompt.ClearHistory();
    EXPECT_FALSE(SaveOrvik(sheet, (dir / "plain-file" / "sub").wstring()));
    ASSERT_EQ(prompt.History().size(), 1u);
    EXPECT_EQ(prompt.History()[0].text.rfind(L"Failure: couldn't open ", 0), 0u);
}

TEST_F(SaveFlowTest, SavingAgainReplacesTheWholeFile) {
    LoadCompleteForm();
    const fs::path file = dir / "Ab-Co__M-1__2__123__P1.txt";
    std::ofstream(file, std::ios::binary) << std::string(200000, 'z');
    ASSERT_TRUE(SaveOrvik(sheet, dir.wstring()));
    const std::string saved = ReadAll(file);
    EXPECT_EQ(saved.find('z'), std::string::npos) << "no stale tail of the previous file";
    EXPECT_EQ(saved.rfind("; \r\n; Halvex Marnel File Generator", 0), 0u);
}

} // namespace
