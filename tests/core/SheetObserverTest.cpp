#include "FormFixture.h"
#include "LogCapture.h"
#include "sheet/GroupListEditor.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

class CRecordingObserver : public ISheetObserver {
public:
    void SheetChanged(const SSheetChange& change) override { changes.push_back(change); }
    std::vector<SSheetChange> changes;
};

class SheetObserverTest : public CFormFixture {
protected:
    void SetUp() override {
        CFormFixture::SetUp();
        sheet.AddObserver(&observer);
    }
    void TearDown() override { sheet.RemoveObserver(&observer); }
    void MakeProviderOnlyTypeCPort() {
        Answer(L"Orvik_Product_Type", L"0");
        Answer(L"Connector_Type", L"2");
        Answer(L"USB_PD_Support", L"YES");
        Answer(L"PD_Port_Type", L"3");
    }
    static bool Names(const SSheetChange& change, const CParameterField* field) {
        return std::any_of(change.fields.begin(), change.fields.end(),
                           [&](const SSheetChange::SField& f) { return f.field == field; });
    }

    CRecordingObserver observer;
};

TEST_F(SheetObserverTest, AChoiceThatAddsATabIsAnnouncedOnceWithItsPosition) {
    Answer(L"Orvik_Product_Type", L"0");
    ASSERT_EQ(observer.changes.size(), 1u);
    const SSheetChange& change = observer.changes.front();
    ASSERT_EQ(change.tabsAdded.size(), 1u);
    EXPECT_EQ(change.tabsAdded[0].page, EPage::OrvikProduct);
    EXPECT_EQ(change.tabsAdded[0].position, 1u);
    EXPECT_TRUE(change.tabsRemoved.empty());
    EXPECT_FALSE(change.activePageMoved);
    EXPECT_TRUE(Names(change, sheet.FindField(L"Orvik_Product_Type")));
}

TEST_F(SheetObserverTest, TabsJoiningInTheMiddleAreAnnouncedAtTheirPositionsInTheNewList) {
    Answer(L"Orvik_Product_Type", L"0");
    Answer(L"Connector_Type", L"0");
    observer.changes.clear();
    // From a Type-A host port to a Type-C provider: General and Type-C come before Product Power,
    // USB Host goes.
    Answer(L"Connector_Type", L"2");
    Answer(L"USB_PD_Support", L"YES");
    Answer(L"PD_Port_Type", L"3");
    std::vector<EPage> tabs;
    for (const CPageSuper* page : sheet.Tabs()) {
        tabs.push_back(page->Id());
    }
    // Replaying every announcement on the first tab list gives the sheet's tab list.
    std::vector<EPage> replay{EPage::Intro, EPage::OrvikProduct, EPage::ProductPower, EPage::UsbHost};
    for (const SSheetChange& change : observer.changes) {
        for (const SSheetChange::STab& removed : change.tabsRemoved) {
            ASSERT_LT(removed.position, replay.size());
            EXPECT_EQ(replay[removed.position], removed.page);
            replay.erase(replay.begin() + static_cast<long>(removed.position));
        }
        for (const SSheetChange::STab& added : change.tabsAdded) {
            ASSERT_LE(added.position, replay.size());
            replay.insert(replay.begin() + static_cast<long>(added.position), added.page);
        }
    }
    EXPECT_EQ(replay, tabs);
}

TEST_F(SheetObserverTest, RemovingTheActivePageAnnouncesTheMoveToTheFirstTab) {
    MakeProviderOnlyTypeCPort();
    sheet.Activate(EPage::Source);
    ASSERT_FALSE(observer.changes.empty());
    EXPECT_TRUE(observer.changes.back().activePageMoved);
    observer.changes.clear();
    // A sink-only port has no Source page.
    Answer(L"PD_Port_Type", L"0");
    ASSERT_EQ(observer.changes.size(), 1u);
    const SSheetChange& change = observer.changes.front();
    EXPECT_TRUE(change.activePageMoved);
    EXPECT_EQ(change.activePage, EPage::Intro);
    EXPECT_TRUE(std::any_of(change.tabsRemoved.begin(), change.tabsRemoved.end(),
                            [](const SSheetChange::STab& t) { return t.page == EPage::Source; }));
}

TEST_F(SheetObserverTest, AChangeThatTouchesAnotherPageAnnouncesItsReviewFlag) {
    MakeProviderOnlyTypeCPort();
    for (const CPageSuper* page : sheet.Tabs()) {
        sheet.Activate(page->Id());
    }
    sheet.Activate(EPage::General);
    observer.changes.clear();
    Answer(L"PD_Port_Type", L"4");
    ASSERT_EQ(observer.changes.size(), 1u);
    const SSheetChange& change = observer.changes.front();
    std::vector<EPage> flagged;
    for (const SSheetChange::SPage& page : change.pages) {
        if (page.reviewFlag) {
            flagged.push_back(page.page);
            EXPECT_TRUE(sheet.Page(page.page).ReviewFlag());
            EXPECT_NE(page.page, EPage::General);
        }
    }
    EXPECT_FALSE(flagged.empty());
}

TEST_F(SheetObserverTest, ListOperationsAreAnnouncedWithTheirList) {
    MakeProviderOnlyTypeCPort();
    observer.changes.clear();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SourcePdo), &sheet);
    editor.BeginAdd();
    EXPECT_TRUE(observer.changes.empty()) << "an open dialog changes nothing yet";
    editor.Cancel();
    EXPECT_TRUE(observer.changes.empty());
    editor.BeginAdd();
    CGroupWorkingCopy* pdo = editor.Working();
    pdo->SetAnswer(L"Src_PDO_Supply_Type1", L"0");
    pdo->SetAnswer(L"Src_PDO_Peak_Current1", L"0");
    pdo->SetAnswer(L"Src_PDO_Voltage1", L"5000");
    pdo->SetAnswer(L"Src_PDO_Max_Current1", L"3000");
    ASSERT_TRUE(editor.Ok());
    ASSERT_EQ(observer.changes.size(), 1u);
    editor.RemoveAll();
    std::size_t announced = 0;
    for (const SSheetChange& change : observer.changes) {
        if (std::find(change.groupLists.begin(), change.groupLists.end(), EGroupType::SourcePdo) !=
            change.groupLists.end()) {
            ++announced;
        }
    }
    EXPECT_EQ(announced, 2u);
    EXPECT_EQ(sheet.GetGroupList(EGroupType::SourcePdo).Size(), 0u);
}

TEST_F(SheetObserverTest, AnObserverMayDetachWhileBeingTold) {
    class CDetaching : public ISheetObserver {
    public:
        explicit CDetaching(CMarnelPropertySheet& s) : sheet(s) {}
        void SheetChanged(const SSheetChange&) override {
            ++calls;
            sheet.RemoveObserver(this);
        }
        CMarnelPropertySheet& sheet;
        int calls = 0;
    } detaching(sheet);
    sheet.AddObserver(&detaching);
    Answer(L"Orvik_Product_Type", L"0");
    Answer(L"Orvik_Product_Type", L"1");
    EXPECT_EQ(detaching.calls, 1);
    EXPECT_EQ(observer.changes.size(), 2u);
}

TEST_F(SheetObserverTest, NothingIsAnnouncedWhenNothingChanged) {
    Answer(L"Orvik_Product_Type", L"0");
    observer.changes.clear();
    Answer(L"Orvik_Product_Type", L"0");
    EXPECT_TRUE(observer.changes.empty());
}

} // namespace
