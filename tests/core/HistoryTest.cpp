#include "FormFixture.h"
#include "FullForm.h"

#include "catalog/GroupTypes.h"
#include "persistence/FileWriter.h"
#include "persistence/LoadFlow.h"
#include "sheet/GroupListEditor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// The history on, as a window keeps it.
class HistoryTest : public CFormFixture {
protected:
    void SetUp() override {
        CFormFixture::SetUp();
        history.SetEnabled(true);
    }
    // A complete port form loaded, remembered as `loaded`.
    void LoadPortForm() {
        ASSERT_TRUE(Load(orvik::testsupport::FullPortForm(3, 2, 2, 2)));
        history.Clear();
        loaded = BuildOrvikBytes(sheet);
    }
    std::vector<EPage> TabIds() const {
        std::vector<EPage> ids;
        for (const CPageSuper* page : sheet.Tabs()) {
            ids.push_back(page->Id());
        }
        return ids;
    }

    CSheetHistory& history = sheet.History();
    std::string loaded;
};

TEST_F(HistoryTest, UndoOfAChoiceThatClearsTabsGivesBackAnswersListsTabsAndPage) {
    LoadPortForm();
    const std::vector<EPage> tabs = TabIds();
    sheet.Activate(EPage::OrvikProduct);
    Answer(L"Connector_Type", L"0");
    const std::string changed = BuildOrvikBytes(sheet);
    ASSERT_NE(changed, loaded);
    EXPECT_EQ(history.UndoLabel(), L"Connector_Type = 0 : Type-A");
    // The clearing is told in the user's words, counting only what the user had given.
    EXPECT_GT(history.LastCleared().answers, 10u);
    EXPECT_GT(history.LastCleared().tabs, 3u);
    EXPECT_EQ(history.LastClearedText().rfind(L"Choosing Type-A for Connector_Type cleared ", 0), 0u);
    ASSERT_TRUE(history.Undo());
    Answer(L"Connector_Type", L"");
    EXPECT_EQ(history.LastClearedText().rfind(L"Taking back the answer to Connector_Type cleared ", 0), 0u);
    ASSERT_TRUE(history.Undo());
    Answer(L"Connector_Type", L"0");

    sheet.Activate(EPage::Intro);
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(BuildOrvikBytes(sheet), loaded);
    EXPECT_EQ(TabIds(), tabs);
    EXPECT_EQ(sheet.ActivePage().Id(), EPage::OrvikProduct);
    EXPECT_TRUE(history.LastClearedText().empty());

    ASSERT_TRUE(history.Redo());
    EXPECT_EQ(BuildOrvikBytes(sheet), changed);
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(BuildOrvikBytes(sheet), loaded);
    EXPECT_FALSE(history.Undo());
}

TEST_F(HistoryTest, GroupsTypedIntoANewFormAreCountedWhenAChoiceClearsThem) {
    Answer(L"Connector_Type", L"2");
    Answer(L"USB_PD_Support", L"YES");
    Answer(L"PD_Port_Type", L"4");
    CFieldGroupList& list = sheet.GetGroupList(EGroupType::SourcePdo);
    CGroupListEditor editor(list, &sheet);
    for (const wchar_t* millivolts : {L"5000", L"9000"}) {
        CGroupWorkingCopy& pdo = editor.BeginAdd();
        pdo.SetAnswer(L"Src_PDO_Supply_Type1", L"0");
        pdo.SetAnswer(L"Src_PDO_Peak_Current1", L"0");
        pdo.SetAnswer(L"Src_PDO_Voltage1", millivolts);
        pdo.SetAnswer(L"Src_PDO_Max_Current1", L"3000");
        ASSERT_TRUE(editor.Ok());
    }
    EXPECT_EQ(history.UndoLabel(), L"Add Source PDO 2");
    const std::string before = BuildOrvikBytes(sheet);
    Answer(L"USB_PD_Support", L"NO");
    EXPECT_EQ(history.LastClearedText(), L"Choosing NO for USB_PD_Support cleared 2 Source PDOs on 1 tab.");
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(BuildOrvikBytes(sheet), before);
    EXPECT_EQ(list.Size(), 2u);
}

TEST_F(HistoryTest, TypingInOneBoxIsOneStepUntilTheUserLeavesIt) {
    LoadPortForm();
    Answer(L"$Vendor_Name", L"A");
    Answer(L"$Vendor_Name", L"Ac");
    Answer(L"$Vendor_Name", L"Acme");
    EXPECT_EQ(history.UndoDepth(), 1u);
    EXPECT_EQ(history.UndoLabel(), L"$Vendor_Name = Acme");
    history.EndMerge();
    Answer(L"$Vendor_Name", L"Acme Ltd");
    Answer(L"PD_Port_Type", L"3");
    Answer(L"PD_Port_Type", L"4");
    EXPECT_EQ(history.UndoDepth(), 4u);
    // An answer that changes nothing is no step.
    Answer(L"PD_Port_Type", L"4");
    EXPECT_EQ(history.UndoDepth(), 4u);

    while (history.Undo()) {
    }
    EXPECT_EQ(BuildOrvikBytes(sheet), loaded);
    EXPECT_EQ(history.RedoLabel(), L"$Vendor_Name = Acme");
    // A new change after an undo drops what could be redone.
    Answer(L"$TID", L"1234");
    EXPECT_FALSE(history.CanRedo());
}

TEST_F(HistoryTest, ListOperationsAndLoadsAreStepsNamedAsTheUserDidThem) {
    LoadPortForm();
    CFieldGroupList& list = sheet.GetGroupList(EGroupType::SourcePdo);
    CGroupListEditor editor(list, &sheet);
    editor.Select(1);
    editor.DeleteSelected();
    EXPECT_EQ(history.UndoLabel(), L"Delete Source PDO 2");
    editor.RemoveAll();
    EXPECT_EQ(history.UndoLabel(), L"Remove all Source PDOs");
    // The clearing notice is for answers only, not for what the user removed on purpose.
    EXPECT_TRUE(history.LastClearedText().empty());
    ASSERT_TRUE(history.Undo());
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(BuildOrvikBytes(sheet), loaded);

    // A load through the Load command is one step, a refused one none.
    const std::filesystem::path cable = std::filesystem::temp_directory_path() / "history-cable.txt";
    std::ofstream(cable, std::ios::binary) << orvik::testsupport::FullCableForm();
    prompt.SetDefaultAnswer(true);
    LoadChosenFile(sheet, cable.wstring());
    EXPECT_EQ(history.UndoLabel(), L"Load history-cable.txt");
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(BuildOrvikBytes(sheet), loaded);
    std::filesystem::remove(cable);
}

// A list line shows a few of a group's answers; a change to any other is a step all the same.
TEST_F(HistoryTest, AnEditNoListLineShowsIsAStep) {
    LoadPortForm();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SourcePdo), &sheet);
    editor.Select(0);
    const std::wstring line = editor.Line(0);
    editor.BeginEdit()->SetAnswer(L"Src_PD_OCP_OC_Debounce1", L"100");
    ASSERT_TRUE(editor.Ok());
    ASSERT_EQ(editor.Line(0), line);
    ASSERT_NE(BuildOrvikBytes(sheet), loaded);
    EXPECT_EQ(history.UndoLabel(), L"Edit Source PDO 1");
    ASSERT_TRUE(history.Undo());
    EXPECT_EQ(BuildOrvikBytes(sheet), loaded);
}

TEST_F(HistoryTest, TheCommandLineFormKeepsNoHistory) {
    history.SetEnabled(false);
    Answer(L"PD_Port_Type", L"3");
    EXPECT_FALSE(history.CanUndo());
}

} // namespace
