#include "FormFixture.h"
#include "FullForm.h"
#include "catalog/GroupCatalog.h"
#include "catalog/RuleTable.h"
#include "model/Errors.h"
#include "model/FieldKinds.h"
#include "persistence/OrvikReader.h"
#include "sheet/GroupListEditor.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <set>
#include <string>
#include <vector>

namespace {

class GroupsTest : public CFormFixture {
protected:
    // A USB Type-C dual-role PD 3.0 port that answers discovery and supports modes on SOP.
    void DescribeDualRolePort() {
        Answer(L"Orvik_Product_Type", L"0");
        Answer(L"Connector_Type", L"2");
        Answer(L"USB_PD_Support", L"YES");
        Answer(L"PD_Port_Type", L"4");
        Answer(L"PD_Specification_Revision", L"2");
        Answer(L"Responds_To_Discov_SOP_UFP", L"YES");
        Answer(L"Modal_Operation_Supported_SOP", L"YES");
    }

    void AddFixedSourcePdo(CGroupListEditor& editor, const std::wstring& millivolts) {
        CGroupWorkingCopy& pdo = editor.BeginAdd();
        pdo.SetAnswer(L"Src_PDO_Supply_Type1", L"0");
        pdo.SetAnswer(L"Src_PDO_Peak_Current1", L"0");
        pdo.SetAnswer(L"Src_PDO_Voltage1", millivolts);
        pdo.SetAnswer(L"Src_PDO_Max_Current1", L"3000");
        ASSERT_TRUE(editor.Ok()) << std::string(editor.RejectionMessage().begin(),
                                                editor.RejectionMessage().end());
    }

    // An SOP SVID whose `modes` modes are fixed and can all be entered.
    void AddFixedSvid(CGroupListEditor& editor, const std::wstring& svid, int modes) {
        CGroupWorkingCopy& copy = editor.BeginAdd();
        copy.SetAnswer(L"SVID1_SOP", svid);
        copy.SetAnswer(L"SVID1_modes_fixed_SOP", L"YES");
        copy.SetAnswer(L"SVID1_num_modes_min_SOP", std::to_wstring(modes));
        copy.SetAnswer(L"SVID1_num_modes_max_SOP", std::to_wstring(modes));
        for (int i = 0; i < modes; ++i) {
            copy.Modes()->BeginAdd().SetAnswer(L"SVID1_mode1_enter_SOP", L"YES");
            ASSERT_TRUE(copy.Modes()->Ok());
        }
        ASSERT_TRUE(editor.Ok());
    }

    static std::wstring Value(const CFieldGroup& group, const std::wstring& name) {
        const CParameterField* field = group.Fields().FindField(name);
        return field ? field->Value() : L"<missing>";
    }

    static const CNumEditField& Number(const CGroupWorkingCopy& copy, const std::wstring& name) {
        return *FieldCast<CNumEditField>(static_cast<const CParameterField*>(copy.Field(name)));
    }
};

// Every answer, state and link of `made` is that of `fresh`, a group the same kind of list made from
// nothing: links inside a group point inside it, a mode's links to its own SVID, others to the
// same field.
void ExpectSameAsFresh(const CFieldGroup& made, const CFieldGroup& fresh) {
    EXPECT_EQ(made.InstanceNumber(), fresh.InstanceNumber());
    ASSERT_EQ(made.Fields().Size(), fresh.Fields().Size());
    for (std::size_t i = 0; i < fresh.Fields().Size(); ++i) {
        const CParameterField* m = made.Fields().At(i);
        const CParameterField* f = fresh.Fields().At(i);
        const std::string name(f->NamePattern().begin(), f->NamePattern().end());
        EXPECT_EQ(m->NamePattern(), f->NamePattern());
        EXPECT_EQ(&m->Rule(), &f->Rule()) << name;
        EXPECT_EQ(m->Value(), f->Value()) << name;
        EXPECT_EQ(m->FileEntryName(), f->FileEntryName()) << name;
        EXPECT_EQ(m->FileEntryValue(), f->FileEntryValue()) << name;
        EXPECT_EQ(m->IsEnabled(), f->IsEnabled()) << name;
        EXPECT_EQ(m->IsAvailable(), f->IsAvailable()) << name;
        EXPECT_EQ(m->IsChanged(), f->IsChanged()) << name;
        EXPECT_EQ(m->WriteComment(), f->WriteComment()) << name;
        EXPECT_EQ(m->GetPrintableName(), f->GetPrintableName()) << name;
        EXPECT_EQ(m->Group(), &made) << name;
        if (const auto* list = FieldAs<const CPulldownListField>(m)) {
            EXPECT_EQ(list->Options(), FieldAs<const CPulldownListField>(f)->Options()) << name;
        }
        if (const auto* number = FieldAs<const CNumEditField>(m)) {
            const auto* freshNumber = FieldAs<const CNumEditField>(f);
            ASSERT_NE(freshNumber, nullptr) << name;
            EXPECT_EQ(number->Minimum(), freshNumber->Minimum()) << name;
            EXPECT_EQ(number->Maximum(), freshNumber->Maximum()) << name;
            EXPECT_EQ(number->Scale(), freshNumber->Scale()) << name;
            EXPECT_EQ(number->Units(), freshNumber->Units()) << name;
            EXPECT_EQ(number->Prompt(), freshNumber->Prompt()) << name;
        }
        ASSERT_EQ(m->Parents().size(), f->Parents().size()) << name;
        for (std::size_t p = 0; p < f->Parents().size(); ++p) {
            const CParameterField* parent = m->Parents()[p];
            const CParameterField* wanted = f->Parents()[p];
            EXPECT_EQ(parent->NamePattern(), wanted->NamePattern()) << name;
            const CFieldGroup* freshOwner = fresh.OwnerList()->OwnerGroup();
            if (wanted->Group() == &fresh) {
                EXPECT_EQ(parent->Group(), &made) << name;
            } else if (freshOwner && wanted->Group() == freshOwner) {
                // A mode's link to its SVID.
                EXPECT_EQ(parent->Group(), made.OwnerList()->OwnerGroup()) << name;
            } else {
                EXPECT_EQ(parent, wanted) << name;
            }
        }
    }
    const std::size_t madeModes = made.ChildList() ? made.ChildList()->Size() : 0;
    const std::size_t freshModes = fresh.ChildList() ? fresh.ChildList()->Size() : 0;
    EXPECT_EQ(madeModes, freshModes);
}

std::vector<std::wstring> PrintableNames(const CFieldGroupList& list, const std::wstring& name) {
    std::vector<std::wstring> names;
    for (const auto& group : list.Groups()) {
        names.push_back(group->Fields().GetField(name).GetPrintableName());
    }
    return names;
}

} // namespace

TEST(GroupCatalog, EveryPrototypeFieldHasItsRecordInTheTable) {
    const std::size_t expected[] = {12, 6, 4, 3, 4, 3};
    for (const SGroupTypeRow& typeRow : GroupTypeRows()) {
        const EGroupType type = typeRow.type;
        const CRuleGroup* rules = ProgramRules()->FindGroup(type);
        ASSERT_NE(rules, nullptr);
        std::size_t formRecords = 0;
        for (const CRuleRecord& record : rules->Records()) {
            formRecords += record.namePattern.rfind(L"^Test_", 0) == 0 ? 0 : 1;
        }
        EXPECT_EQ(formRecords, expected[NumberOf(type) - NumberOf(EGroupType::SourcePdo)]) << NumberOf(type);
        EXPECT_EQ(GroupFieldRows(type).size(), formRecords) << NumberOf(type);
        for (const SFieldRow& row : GroupFieldRows(type)) {
            EXPECT_NE(ProgramRules()->Lookup(type, row.Pattern()), nullptr);
        }
    }
}

TEST(GroupTypes, EveryTypeHasItsPrototypeFieldsChecksAndModes) {
    CGroupPrototypes prototypes(ProgramRules());
    for (const SGroupTypeRow& row : GroupTypeRows()) {
        const EGroupType id = row.type;
        EXPECT_EQ(id, row.type) << NumberOf(id);
        const CGroupPrototype& prototype = prototypes.Get(id);
        EXPECT_EQ(prototype.childType, row.modes) << NumberOf(id);
        EXPECT_TRUE(prototype.summary && prototype.groupCheck && prototype.listCheck) << NumberOf(id);
        CFieldList fields(true);
        prototype.fieldFactory(fields);
        EXPECT_EQ(fields.Size(), GroupFieldRows(row.type).size()) << NumberOf(id);
        EXPECT_FALSE(fields.Empty()) << NumberOf(id);
        // A mode and its SVID name each other.
        if (row.kind == EGroupKind::Mode) {
            EXPECT_EQ(GroupTypeRow(row.owner).modes, row.type) << NumberOf(id);
        } else {
            EXPECT_EQ(row.owner, EGroupType::None) << NumberOf(id);
        }
        if (row.modes != EGroupType::None) {
            EXPECT_EQ(GroupTypeRow(row.modes).owner, row.type) << NumberOf(id);
        }
    }
}

TEST(GroupTypes, EveryListIsToldApartByItsPanelDialogAndNotes) {
    std::set<std::wstring> labels;
    std::set<std::wstring> captions;
    std::set<std::wstring> notes;
    for (const SGroupTypeRow& row : GroupTypeRows()) {
        if (row.kind == EGroupKind::Mode) {
            continue; // a mode is shown under its SVID
        }
        EXPECT_TRUE(labels.insert(row.label).second) << NumberOf(row.type);
        EXPECT_TRUE(captions.insert(row.caption).second) << NumberOf(row.type);
        ASSERT_TRUE(row.notesList && row.notesItem) << NumberOf(row.type);
        EXPECT_TRUE(notes.insert(row.notesList).second) << NumberOf(row.type);
        EXPECT_TRUE(notes.insert(row.notesItem).second) << NumberOf(row.type);
    }
}

TEST_F(GroupsTest, FirstSourcePdoIsFixedFiveVoltsAndCannotBeEdited) {
    DescribeDualRolePort();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SourcePdo));
    CGroupWorkingCopy& first = editor.BeginAdd();
    EXPECT_EQ(first.Caption(), L"Source PDO 1");
    const CParameterField* supply = first.Field(L"Src_PDO_Supply_Type1");
    const CParameterField* voltage = first.Field(L"Src_PDO_Voltage1");
    EXPECT_EQ(supply->Value(), L"0");
    EXPECT_FALSE(supply->IsEnabled());
    EXPECT_EQ(voltage->Value(), L"5000");
    EXPECT_FALSE(voltage->IsEnabled());
    EXPECT_FALSE(first.Field(L"Src_PDO_Min_Voltage1")->IsAvailable());

    first.SetAnswer(L"Src_PDO_Supply_Type1", L"1");
    first.SetAnswer(L"Src_PDO_Voltage1", L"9000");
    EXPECT_EQ(supply->Value(), L"0");
    EXPECT_EQ(voltage->Value(), L"5000");

    first.SetAnswer(L"Src_PDO_Peak_Current1", L"0");
    first.SetAnswer(L"Src_PDO_Max_Current1", L"3000");
    ASSERT_TRUE(editor.Ok());
    EXPECT_EQ(editor.Line(0), L"PDO 1 - Fixed: Peak Current=100% IOC, Voltage=5000mV, Max Current=3000mA");
    EXPECT_TRUE(editor.IsLineValid(0));

    std::wstring text;
    editor.List().At(0).WriteText(text);
    EXPECT_NE(text.find(L"    Src_PDO_Voltage1: 100        ; (5000 mV)\r\n"), std::wstring::npos);
}

TEST_F(GroupsTest, BatteryPdoAsksForAVoltageRangeAndPower) {
    DescribeDualRolePort();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SourcePdo));
    AddFixedSourcePdo(editor, L"5000");

    CGroupWorkingCopy& battery = editor.BeginAdd();
    EXPECT_TRUE(battery.Field(L"Src_PDO_Supply_Type2")->IsEnabled());
    battery.SetAnswer(L"Src_PDO_Supply_Type2", L"1");
    for (const wchar_t* shown : {L"Src_PDO_Min_Voltage2", L"Src_PDO_Max_Voltage2", L"Src_PDO_Max_Power2"}) {
        EXPECT_TRUE(battery.Field(shown)->IsAvailable());
    }
    for (const wchar_t* hidden : {L"Src_PDO_Peak_Current2", L"Src_PDO_Voltage2", L"Src_PDO_Max_Current2"}) {
        EXPECT_FALSE(battery.Field(hidden)->IsAvailable());
    }

    battery.SetAnswer(L"Src_PDO_Min_Voltage2", L"5000");
    battery.SetAnswer(L"Src_PDO_Max_Voltage2", L"5000");
    battery.SetAnswer(L"Src_PDO_Max_Power2", L"15000");
    EXPECT_FALSE(battery.Field(L"Src_PDO_Min_Voltage2")->PassesValidity());
    EXPECT_FALSE(battery.Field(L"Src_PDO_Max_Voltage2")->PassesValidity());
    EXPECT_FALSE(editor.Ok());
    EXPECT_EQ(editor.RejectionMessage(), L"Source PDO 2 dialog not filled out or invalid data entered.");
    ASSERT_NE(editor.Working(), nullptr);

    battery.SetAnswer(L"Src_PDO_Max_Voltage2", L"9000");
    EXPECT_TRUE(battery.Field(L"Src_PDO_Min_Voltage2")->PassesValidity());
    ASSERT_TRUE(editor.Ok());
    EXPECT_EQ(editor.Line(1), L"PDO 2 - Battery: Min Voltage=5000mV, Max Voltage=9000mV, Max Power=15000mW");

    // The list is complete only when the page's count matches it.
    EXPECT_FALSE(editor.IsListValid());
    Answer(L"Num_Src_PDOs", L"2");
    EXPECT_TRUE(editor.IsListValid());
    CGroupWorkingCopy& variable = editor.BeginAdd();
    variable.SetAnswer(L"Src_PDO_Supply_Type3", L"2");
    variable.SetAnswer(L"Src_PDO_Min_Voltage3", L"3300");
    variable.SetAnswer(L"Src_PDO_Max_Voltage3", L"11000");
    variable.SetAnswer(L"Src_PDO_Max_Current3", L"2000");
    ASSERT_TRUE(editor.Ok());
    EXPECT_EQ(editor.Line(2),
              L"PDO 3 - Variable: Min Voltage=3300mV, Max Voltage=11000mV, Max Current=2000mA");
    EXPECT_FALSE(editor.IsListValid());
}

TEST_F(GroupsTest, SinkPdosFollowTheirSupplyType) {
    DescribeDualRolePort();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SinkPdo));
    CGroupWorkingCopy& first = editor.BeginAdd();
    EXPECT_EQ(first.Caption(), L"Sink PDO 1");
    EXPECT_EQ(first.Field(L"Snk_PDO_Voltage1")->Value(), L"5000");
    first.SetAnswer(L"Snk_PDO_Op_Current1", L"1500");
    ASSERT_TRUE(editor.Ok());
    EXPECT_EQ(editor.Line(0), L"PDO 1 - Fixed: Voltage=5000mV, Op Current=1500mA");

    CGroupWorkingCopy& battery = editor.BeginAdd();
    battery.SetAnswer(L"Snk_PDO_Supply_Type2", L"1");
    battery.SetAnswer(L"Snk_PDO_Min_Voltage2", L"9000");
    battery.SetAnswer(L"Snk_PDO_Max_Voltage2", L"5000");
    battery.SetAnswer(L"Snk_PDO_Op_Power2", L"10000");
    EXPECT_FALSE(editor.Ok());
    battery.SetAnswer(L"Snk_PDO_Max_Voltage2", L"12000");
    ASSERT_TRUE(editor.Ok());
    EXPECT_EQ(editor.Line(1), L"PDO 2 - Battery: Min Voltage=9000mV, Max Voltage=12000mV, Op Power=10000mW");

    // A sink-only port has no source list but keeps its sinks.
    sheet.GetGroupList(EGroupType::SourcePdo).AppendNewGroup();
    Answer(L"PD_Port_Type", L"0");
    EXPECT_TRUE(sheet.GetGroupList(EGroupType::SourcePdo).Empty());
    EXPECT_EQ(sheet.GetGroupList(EGroupType::SinkPdo).Size(), 2u);
}

TEST_F(GroupsTest, ProtectionThresholdsFollowTheMethodAndThePdo) {
    DescribeDualRolePort();
    Answer(L"PD_OC_Protection", L"YES");
    Answer(L"PD_OCP_Method", L"2");
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SourcePdo));
    CGroupWorkingCopy& pdo = editor.BeginAdd();
    pdo.SetAnswer(L"Src_PDO_Peak_Current1", L"1");
    pdo.SetAnswer(L"Src_PDO_Max_Current1", L"3000");

    const CNumEditField& oc = Number(pdo, L"Src_PD_OCP_OC_Threshold1");
    ASSERT_TRUE(oc.IsAvailable());
    EXPECT_EQ(oc.Minimum(), 3000u);
    EXPECT_EQ(oc.Maximum(), 10000u);
    for (const auto& [text, valid] : std::vector<std::pair<std::wstring, bool>>{
             {L"2990", false}, {L"3000", true}, {L"10000", true}, {L"10010", false}}) {
        pdo.SetAnswer(L"Src_PD_OCP_OC_Threshold1", text);
        EXPECT_EQ(oc.PassesValidity(), valid) << std::string(text.begin(), text.end());
    }
    // A huge maximum current (from a file) gives a huge bound, not a wrapped one.
    pdo.SetAnswer(L"Src_PDO_Max_Current1", L"3000000000");
    EXPECT_EQ(oc.Minimum(), 2147483647u);
    pdo.SetAnswer(L"Src_PDO_Max_Current1", L"3000");
    pdo.SetAnswer(L"Src_PD_OCP_OC_Threshold1", L"4000");

    const CNumEditField& uv = Number(pdo, L"Src_PD_OCP_UV_Threshold1");
    EXPECT_FALSE(uv.IsAvailable());
    pdo.SetAnswer(L"Src_PD_OCP_UV_Threshold_Type1", L"0");
    EXPECT_EQ(uv.Minimum(), 800u);
    EXPECT_EQ(uv.Maximum(), 4750u);
    EXPECT_EQ(uv.Scale(), 10u);
    EXPECT_EQ(uv.Units(), L"mV");
    pdo.SetAnswer(L"Src_PD_OCP_UV_Threshold_Type1", L"1");
    EXPECT_EQ(uv.Maximum(), 95u);
    EXPECT_EQ(uv.Units(), L"%");
    pdo.SetAnswer(L"Src_PD_OCP_OC_Debounce1", L"10");
    pdo.SetAnswer(L"Src_PD_OCP_UV_Debounce1", L"10");
    pdo.SetAnswer(L"Src_PD_OCP_UV_Threshold1", L"90");
    ASSERT_TRUE(editor.Ok());

    // A Value threshold needs the PDO's voltage; without one it is cleared and has no units.
    CGroupWorkingCopy& second = editor.BeginAdd();
    second.SetAnswer(L"Src_PDO_Supply_Type2", L"0");
    second.SetAnswer(L"Src_PD_OCP_UV_Threshold_Type2", L"1");
    second.SetAnswer(L"Src_PD_OCP_UV_Threshold2", L"50");
    second.SetAnswer(L"Src_PD_OCP_UV_Threshold_Type2", L"0");
    const CNumEditField& uv2 = Number(second, L"Src_PD_OCP_UV_Threshold2");
    EXPECT_EQ(uv2.Value(), L"");
    EXPECT_EQ(uv2.Units(), L"");
    editor.Cancel();

    // Page answers reach the committed PDO, also through the method's own parent.
    const CFieldGroup& committed = sheet.GetGroupList(EGroupType::SourcePdo).At(0);
    Answer(L"PD_OCP_Method", L"0");
    EXPECT_TRUE(committed.Fields().GetField(L"Src_PD_OCP_OC_Threshold1").IsAvailable());
    EXPECT_FALSE(committed.Fields().GetField(L"Src_PD_OCP_UV_Threshold_Type1").IsAvailable());
    EXPECT_EQ(Value(committed, L"Src_PD_OCP_UV_Threshold_Type1"), L"");
    Answer(L"PD_OC_Protection", L"NO");
    EXPECT_FALSE(committed.Fields().GetField(L"Src_PD_OCP_OC_Threshold1").IsAvailable());
    EXPECT_EQ(Value(committed, L"Src_PD_OCP_OC_Threshold1"), L"");
    EXPECT_EQ(Value(committed, L"Src_PDO_Voltage1"), L"5000");
}

TEST_F(GroupsTest, FullRefreshRescalesTheRangesOfSupplyTypeThree) {
    DescribeDualRolePort();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SourcePdo));
    AddFixedSourcePdo(editor, L"5000");
    CGroupWorkingCopy& variable = editor.BeginAdd();
    variable.SetAnswer(L"Src_PDO_Supply_Type2", L"2");
    variable.SetAnswer(L"Src_PDO_Min_Voltage2", L"5000");
    variable.SetAnswer(L"Src_PDO_Max_Voltage2", L"9000");
    variable.SetAnswer(L"Src_PDO_Max_Current2", L"900");
    ASSERT_TRUE(editor.Ok());

    // As a loaded file would leave it: the type says 3, the numbers are still in the old steps.
    CFieldGroup& pdo = sheet.GetGroupList(EGroupType::SourcePdo).At(1);
    pdo.Fields().GetField(L"Src_PDO_Supply_Type2").SetValue(L"3");
    sheet.Reevaluate(0, {.initial = true, .fullReset = true});

    const auto& minimum = *FieldCast<CNumEditField>(&pdo.Fields().GetField(L"Src_PDO_Min_Voltage2"));
    const auto& current = *FieldCast<CNumEditField>(&pdo.Fields().GetField(L"Src_PDO_Max_Current2"));
    EXPECT_EQ(minimum.Scale(), 100u);
    EXPECT_EQ(minimum.Value(), L"10000");
    EXPECT_EQ(Value(pdo, L"Src_PDO_Max_Voltage2"), L"18000");
    EXPECT_EQ(current.Scale(), 50u);
    EXPECT_EQ(current.Value(), L"4500");
    EXPECT_EQ(editor.Line(1), L"PDO 2 - : Min Voltage=10000mV, Max Voltage=18000mV, Max Current=4500mA");
    // Supply type 3 is not among the choices, so the PDO cannot be complete.
    EXPECT_FALSE(editor.IsLineValid(1));
}

TEST_F(GroupsTest, InsertAndDeleteKeepNumbersAndNamesInOrder) {
    DescribeDualRolePort();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SourcePdo));
    EXPECT_EQ(editor.BeginInsert(), nullptr);
    AddFixedSourcePdo(editor, L"5000");
    AddFixedSourcePdo(editor, L"9000");
    AddFixedSourcePdo(editor, L"15000");
    EXPECT_EQ(editor.Selection(), 2);

    editor.BeginAdd();
    editor.Cancel();
    EXPECT_EQ(editor.LineCount(), 3u);

    editor.Select(0);
    CGroupWorkingCopy* inserted = editor.BeginInsert();
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(inserted->Caption(), L"Source PDO 1");
    EXPECT_FALSE(inserted->Field(L"Src_PDO_Voltage1")->IsEnabled());
    inserted->SetAnswer(L"Src_PDO_Peak_Current1", L"2");
    inserted->SetAnswer(L"Src_PDO_Max_Current1", L"1000");
    ASSERT_TRUE(editor.Ok());
    EXPECT_EQ(editor.Selection(), 0);

    const CFieldGroupList& list = editor.List();
    EXPECT_EQ(PrintableNames(list, L"^Src_PDO_Voltage([0-9]+)$"),
              (std::vector<std::wstring>{L"Src_PDO_Voltage1", L"Src_PDO_Voltage2", L"Src_PDO_Voltage3",
                                         L"Src_PDO_Voltage4"}));
    EXPECT_EQ(Value(list.At(0), L"Src_PDO_Peak_Current1"), L"2");
    EXPECT_EQ(Value(list.At(3), L"Src_PDO_Voltage4"), L"15000");

    editor.Select(1);
    editor.DeleteSelected();
    EXPECT_EQ(editor.Selection(), 1);
    EXPECT_EQ(editor.Line(1), L"PDO 2 - Fixed: Peak Current=100% IOC, Voltage=9000mV, Max Current=3000mA");
    editor.Select(2);
    editor.DeleteSelected();
    EXPECT_EQ(editor.Selection(), 1);
    editor.DeleteSelected();
    editor.DeleteSelected();
    EXPECT_EQ(editor.Selection(), -1);
    EXPECT_FALSE(editor.CanEdit());
    EXPECT_FALSE(editor.CanRemoveAll());
}

TEST_F(GroupsTest, EditWorksOnACopyUntilOk) {
    DescribeDualRolePort();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SourcePdo));
    AddFixedSourcePdo(editor, L"5000");
    AddFixedSourcePdo(editor, L"9000");
    const CFieldGroup& real = editor.List().At(1);

    editor.Select(1);
    editor.BeginEdit()->SetAnswer(L"Src_PDO_Voltage2", L"12000");
    EXPECT_EQ(Value(real, L"Src_PDO_Voltage2"), L"9000");
    editor.Cancel();
    EXPECT_EQ(Value(real, L"Src_PDO_Voltage2"), L"9000");

    CGroupWorkingCopy* copy = editor.BeginEdit();
    EXPECT_EQ(copy->Caption(), L"Source PDO 2");
    copy->SetAnswer(L"Src_PDO_Supply_Type2", L"2");
    copy->SetAnswer(L"Src_PDO_Min_Voltage2", L"3300");
    copy->SetAnswer(L"Src_PDO_Max_Voltage2", L"5900");
    ASSERT_TRUE(editor.Ok());
    EXPECT_EQ(&editor.List().At(1), &real);
    EXPECT_FALSE(real.Fields().GetField(L"Src_PDO_Voltage2").IsAvailable());
    EXPECT_EQ(Value(real, L"Src_PDO_Voltage2"), L"");
    EXPECT_TRUE(real.Fields().GetField(L"Src_PDO_Min_Voltage2").IsAvailable());
    EXPECT_EQ(editor.Line(1),
              L"PDO 2 - Variable: Min Voltage=3300mV, Max Voltage=5900mV, Max Current=3000mA");

    editor.RemoveAll();
    EXPECT_TRUE(editor.List().Empty());
    EXPECT_EQ(editor.Selection(), -1);
}

TEST_F(GroupsTest, SvidFieldsAndModeCountsAreChecked) {
    DescribeDualRolePort();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SopSvid));
    CGroupWorkingCopy& svid = editor.BeginAdd();
    EXPECT_EQ(svid.Caption(), L"SOP SVID 1");

    // The counts wait for the modes-fixed answer.
    svid.SetAnswer(L"SVID1_num_modes_min_SOP", L"2");
    EXPECT_EQ(svid.Field(L"SVID1_num_modes_min_SOP")->Value(), L"");
    EXPECT_FALSE(svid.Field(L"SVID1_num_modes_min_SOP")->IsEnabled());

    svid.SetAnswer(L"SVID1_SOP", L"0000");
    EXPECT_FALSE(svid.Field(L"SVID1_SOP")->PassesValidity());
    svid.SetAnswer(L"SVID1_SOP", L"FF01");
    EXPECT_TRUE(svid.Field(L"SVID1_SOP")->PassesValidity());

    const CParameterField* minimum = svid.Field(L"SVID1_num_modes_min_SOP");
    const CParameterField* maximum = svid.Field(L"SVID1_num_modes_max_SOP");
    svid.SetAnswer(L"SVID1_modes_fixed_SOP", L"NO");
    svid.SetAnswer(L"SVID1_num_modes_min_SOP", L"3");
    svid.SetAnswer(L"SVID1_num_modes_max_SOP", L"2");
    EXPECT_FALSE(minimum->PassesValidity());
    EXPECT_FALSE(maximum->PassesValidity());
    svid.SetAnswer(L"SVID1_num_modes_min_SOP", L"2");
    svid.SetAnswer(L"SVID1_num_modes_max_SOP", L"3");
    EXPECT_TRUE(minimum->PassesValidity());
    svid.SetAnswer(L"SVID1_modes_fixed_SOP", L"YES");
    EXPECT_FALSE(minimum->PassesValidity());
    EXPECT_FALSE(maximum->PassesValidity());
    svid.SetAnswer(L"SVID1_num_modes_min_SOP", L"3");
    EXPECT_TRUE(minimum->PassesValidity());
    EXPECT_TRUE(maximum->PassesValidity());

    // The SVID needs its three modes, one of them enterable.
    EXPECT_FALSE(svid.IsValid());
    CGroupListEditor& modes = *svid.Modes();
    for (int i = 0; i < 3; ++i) {
        CGroupWorkingCopy& mode = modes.BeginAdd();
        EXPECT_EQ(mode.Caption(), L"SOP SVID 1 - Mode " + std::to_wstring(i + 1));
        EXPECT_TRUE(mode.IsHidden(mode.Field(L"SVID1_mode1_recog_mask_SOP")));
        EXPECT_FALSE(mode.IsHidden(mode.Field(L"SVID1_mode1_enter_SOP")));
        mode.SetAnswer(L"SVID1_mode1_enter_SOP", L"NO");
        ASSERT_TRUE(modes.Ok());
    }
    EXPECT_EQ(modes.Line(2), L"SVID Mode 3: Enter=NO");
    EXPECT_FALSE(svid.IsValid());
    EXPECT_FALSE(editor.Ok());
    modes.Select(1);
    modes.BeginEdit()->SetAnswer(L"SVID1_mode2_enter_SOP", L"YES");
    ASSERT_TRUE(modes.Ok());
    EXPECT_TRUE(svid.IsValid());
    ASSERT_TRUE(editor.Ok());
    EXPECT_EQ(editor.Line(0), L"SVID 1 - 0xFF01: min modes=3, max modes=3, modes fixed: YES");

    // Committed modes belong to the real SVID.
    const CFieldGroup& real = editor.List().At(0);
    ASSERT_NE(real.ChildList(), nullptr);
    ASSERT_EQ(real.ChildList()->Size(), 3u);
    const CFieldGroup& mode = real.ChildList()->At(1);
    EXPECT_EQ(mode.Fields().At(0)->FindParent(L"^SVID([0-9]+)_modes_fixed_SOP$"),
              real.FindField(L"^SVID([0-9]+)_modes_fixed_SOP$"));
    EXPECT_EQ(Value(mode, L"SVID1_mode2_enter_SOP"), L"YES");
}

TEST_F(GroupsTest, SvidListNeedsItsCountAndUniqueValues) {
    DescribeDualRolePort();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SopSvid));
    AddFixedSvid(editor, L"FF01", 1);
    AddFixedSvid(editor, L"ff01", 4);
    Answer(L"Num_SVIDs_max_SOP", L"2");
    EXPECT_TRUE(editor.IsLineValid(0));
    EXPECT_TRUE(editor.IsLineValid(1));
    EXPECT_FALSE(editor.IsListValid());

    editor.Select(1);
    editor.BeginEdit()->SetAnswer(L"SVID2_SOP", L"FF02");
    ASSERT_TRUE(editor.Ok());
    EXPECT_TRUE(editor.IsListValid());
    Answer(L"Num_SVIDs_max_SOP", L"3");
    EXPECT_FALSE(editor.IsListValid());

    const CFieldGroup& second = editor.List().At(1);
    EXPECT_EQ(second.ChildList()->At(3).Fields().At(0)->GetPrintableName(), L"SVID2_mode4_enter_SOP");
}

TEST_F(GroupsTest, ModesWithoutFixedOrderAreToldApartByMaskAndValue) {
    DescribeDualRolePort();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SopSvid));
    AddFixedSvid(editor, L"FF01", 2);
    editor.Select(0);
    CGroupWorkingCopy& svid = *editor.BeginEdit();
    CGroupListEditor& modes = *svid.Modes();
    const CParameterField* firstEnter = svid.Modes()->List().At(0).Fields().At(0);

    svid.SetAnswer(L"SVID1_modes_fixed_SOP", L"NO");
    EXPECT_FALSE(firstEnter->IsAvailable());
    EXPECT_EQ(firstEnter->Value(), L"");
    EXPECT_TRUE(modes.List().At(0).Fields().GetField(L"SVID1_mode1_recog_mask_SOP").IsAvailable());
    EXPECT_TRUE(modes.List().At(1).Fields().GetField(L"SVID1_mode2_recog_value_SOP").IsAvailable());
    EXPECT_EQ(modes.Line(0), L"SVID Mode 1: Recog Mask=0x, Recog Value=0x");

    modes.Select(0);
    CGroupWorkingCopy& first = *modes.BeginEdit();
    EXPECT_TRUE(first.IsHidden(first.Field(L"SVID1_mode1_enter_SOP")));
    first.SetAnswer(L"SVID1_mode1_recog_mask_SOP", L"00000000");
    first.SetAnswer(L"SVID1_mode1_recog_value_SOP", L"1234ABCD");
    EXPECT_FALSE(first.IsValid());
    first.SetAnswer(L"SVID1_mode1_recog_mask_SOP", L"FFFF0000");
    ASSERT_TRUE(modes.Ok());

    modes.Select(1);
    CGroupWorkingCopy& second = *modes.BeginEdit();
    second.SetAnswer(L"SVID1_mode2_recog_mask_SOP", L"FFFFF000");
    second.SetAnswer(L"SVID1_mode2_recog_value_SOP", L"12340FFF");
    ASSERT_TRUE(modes.Ok());
    EXPECT_EQ(modes.Line(1), L"SVID Mode 2: Recog Mask=0xFFFFF000, Recog Value=0x12340FFF");
    EXPECT_TRUE(modes.IsLineValid(1));
    EXPECT_FALSE(modes.IsListValid());
    EXPECT_FALSE(svid.IsValid());

    modes.BeginEdit()->SetAnswer(L"SVID1_mode2_recog_value_SOP", L"12350FFF");
    ASSERT_TRUE(modes.Ok());
    EXPECT_TRUE(svid.IsValid());
    ASSERT_TRUE(editor.Ok());
    EXPECT_EQ(editor.Line(0), L"SVID 1 - 0xFF01: min modes=2, max modes=2, modes fixed: NO");
}

TEST_F(GroupsTest, ModeLinesFollowTheOwningSvid) {
    DescribeDualRolePort();
    CFieldGroupList& svids = sheet.GetGroupList(EGroupType::SopSvid);
    CFieldGroup& svid = svids.AppendNewGroup();
    CFieldGroup& mode = svid.ChildList()->AppendNewGroup();
    EXPECT_EQ(svid.ChildList()->Summary(mode), L"<Invalid mode>");

    CFieldGroupList loose(sheet.GroupPrototypes().Get(EGroupType::SopMode), nullptr, nullptr);
    try {
        loose.Summary(loose.AppendNewGroup());
        FAIL() << "a mode outside an SVID has no modes-fixed answer";
    } catch (const fieldlist_error& e) {
        EXPECT_EQ(e.Message(), L"Couldn't find expected parent field: ^SVID([0-9]+)_modes_fixed_SOP$.");
    }
}

TEST_F(GroupsTest, SvidWithUnansweredModesSurvivesUntilModesNoLongerApply) {
    DescribeDualRolePort();
    CFieldGroupList& svids = sheet.GetGroupList(EGroupType::SopSvid);
    CFieldGroup& svid = svids.AppendNewGroup();
    svid.Fields().GetField(L"SVID1_SOP").SetValue(L"FF01");
    svid.ChildList()->AppendNewGroup();

    Answer(L"Num_SVIDs_max_SOP", L"1");
    ASSERT_EQ(svids.Size(), 1u);
    EXPECT_TRUE(svid.Fields().GetField(L"SVID1_SOP").IsAvailable());
    EXPECT_EQ(svid.ChildList()->Size(), 1u);

    Answer(L"Modal_Operation_Supported_SOP", L"NO");
    EXPECT_TRUE(svids.Empty());
}

TEST_F(GroupsTest, CloneOfAnSvidIsIndependentAndLinkedToItself) {
    DescribeDualRolePort();
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::SopSvid));
    AddFixedSvid(editor, L"FF01", 2);
    const CFieldGroup& source = editor.List().At(0);
    const std::wstring fixedName = L"^SVID([0-9]+)_modes_fixed_SOP$";

    std::unique_ptr<CFieldGroup> clone = source.Clone();
    ASSERT_NE(clone->ChildList(), nullptr);
    ASSERT_EQ(clone->ChildList()->Size(), 2u);
    EXPECT_EQ(clone->ChildList()->OwnerGroup(), clone.get());
    EXPECT_EQ(Value(*clone, L"SVID1_SOP"), L"FF01");
    EXPECT_EQ(Value(clone->ChildList()->At(1), L"SVID1_mode2_enter_SOP"), L"YES");

    CParameterField* clonedFixed = clone->FindField(fixedName);
    const CParameterField* clonedEnter = clone->ChildList()->At(0).Fields().At(0);
    EXPECT_EQ(clonedEnter->FindParent(fixedName), clonedFixed);
    EXPECT_EQ(clone->FindField(L"^SVID([0-9]+)_num_modes_max_SOP$")->FindParent(fixedName), clonedFixed);
    EXPECT_EQ(clonedFixed->FindParent(L"^Modal_Operation_Supported_SOP$"),
              sheet.FindField(L"^Modal_Operation_Supported_SOP$"));

    clonedFixed->SetValue(L"NO");
    clone->ChildList()->PropagateChange(nullptr, true);
    EXPECT_FALSE(clonedEnter->IsAvailable());
    EXPECT_EQ(Value(source, L"SVID1_modes_fixed_SOP"), L"YES");
    EXPECT_EQ(Value(source.ChildList()->At(0), L"SVID1_mode1_enter_SOP"), L"YES");
    EXPECT_TRUE(source.ChildList()->At(0).Fields().At(0)->IsAvailable());
}

TEST_F(GroupsTest, GroupFieldsHoldEveryAncestorAndTheFactoryAddsNothingTwice) {
    DescribeDualRolePort();
    CFieldGroupList& list = sheet.GetGroupList(EGroupType::SourcePdo);
    CFieldGroup& pdo = list.AppendNewGroup();
    const std::size_t count = pdo.Fields().Size();
    EXPECT_EQ(count, 12u);
    list.RunFieldFactory(pdo.Fields());
    EXPECT_EQ(pdo.Fields().Size(), count);

    const CParameterField& threshold = pdo.Fields().GetField(L"Src_PD_OCP_OC_Threshold1");
    for (const wchar_t* ancestor : {L"^Src_PDO_Max_Current([0-9]+)$", L"^Src_PDO_Supply_Type([0-9]+)$",
                                    L"^PD_OCP_Method$", L"^PD_OC_Protection$", L"^PD_Port_Type$"}) {
        EXPECT_NE(threshold.FindParent(ancestor), nullptr)
            << std::string(ancestor, ancestor + wcslen(ancestor));
    }
}

TEST_F(GroupsTest, CableSvidsAreTheTwinsOfTheSopOnes) {
    Answer(L"Orvik_Product_Type", L"1");
    Answer(L"Modal_Operation_Supported", L"YES");
    Answer(L"Cable_num_SVIDs_max", L"2");
    CGroupListEditor editor(sheet.GetGroupList(EGroupType::CableSvid));
    CGroupWorkingCopy& svid = editor.BeginAdd();
    EXPECT_EQ(svid.Caption(), L"Cable SVID 1");
    svid.SetAnswer(L"SVID1", L"8087");
    svid.SetAnswer(L"SVID1_modes_fixed", L"NO");
    svid.SetAnswer(L"SVID1_num_modes_min", L"1");
    svid.SetAnswer(L"SVID1_num_modes_max", L"1");
    CGroupWorkingCopy& mode = svid.Modes()->BeginAdd();
    EXPECT_EQ(mode.Caption(), L"Cable SVID 1 - Mode 1");
    mode.SetAnswer(L"SVID1_mode1_recog_mask", L"000000FF");
    mode.SetAnswer(L"SVID1_mode1_recog_value", L"00000001");
    ASSERT_TRUE(svid.Modes()->Ok());
    ASSERT_TRUE(editor.Ok());

    EXPECT_EQ(editor.Line(0), L"SVID 1 - 0x8087: min modes=1, max modes=1, modes fixed: NO");
    EXPECT_TRUE(editor.IsLineValid(0));
    EXPECT_FALSE(editor.IsListValid());
    const CFieldGroup& realMode = editor.List().At(0).ChildList()->At(0);
    EXPECT_EQ(realMode.Fields().At(1)->GetPrintableName(), L"SVID1_mode1_recog_mask");

    std::wstring text;
    editor.List().At(0).WriteText(text);
    EXPECT_NE(text.find(L"\r\n        SVID1_mode1_recog_mask: 0x000000FF\r\n"), std::wstring::npos);
}

TEST_F(GroupsTest, LoadedCompleteFormsHaveCompleteLists) {
    ASSERT_TRUE(LoadOrvikBytes(sheet, L"port.txt", orvik::testsupport::FullPortForm(3, 2, 2, 3)));
    for (EGroupType type : {EGroupType::SourcePdo, EGroupType::SinkPdo, EGroupType::SopSvid}) {
        CGroupListEditor editor(sheet.GetGroupList(type));
        for (std::size_t i = 0; i < editor.LineCount(); ++i) {
            EXPECT_TRUE(editor.IsLineValid(i))
                << NumberOf(type) << ": " << std::string(editor.Line(i).begin(), editor.Line(i).end());
        }
        EXPECT_TRUE(editor.IsListValid()) << NumberOf(type);
    }
    EXPECT_EQ(CGroupListEditor(sheet.GetGroupList(EGroupType::SourcePdo)).Line(2),
              L"PDO 3 - Fixed: Peak Current=100% IOC, Voltage=7000mV, Max Current=3000mA");
    EXPECT_EQ(sheet.GetGroupList(EGroupType::SopSvid).At(1).ChildList()->Size(), 3u);

    CMarnelPropertySheet cable;
    cable.Initialize();
    ASSERT_TRUE(LoadOrvikBytes(cable, L"cable.txt", orvik::testsupport::FullCableForm(2, 2)));
    CGroupListEditor svids(cable.GetGroupList(EGroupType::CableSvid));
    EXPECT_TRUE(svids.IsListValid());
    EXPECT_EQ(CGroupListEditor(*cable.GetGroupList(EGroupType::CableSvid).At(0).ChildList()).Line(1),
              L"SVID Mode 2: Recog Mask=0xFFFFFFFF, Recog Value=0x00000002");
}

namespace {

TEST_F(GroupsTest, NewGroupsAreLinkedAsTheFieldFactoryLinksThem) {
    DescribeDualRolePort();
    CFieldGroupList& list = sheet.GetGroupList(EGroupType::SopSvid);
    CFieldGroup& first = list.AppendNewGroup();
    CFieldGroup& second = list.AppendNewGroup();
    CFieldList built(true);
    built.SetEnclosingList(list.EnclosingList());
    list.RunFieldFactory(built);

    ASSERT_EQ(second.Fields().Size(), built.Size());
    for (std::size_t i = 0; i < built.Size(); ++i) {
        const CParameterField* copied = second.Fields().At(i);
        const CParameterField* expected = built.At(i);
        EXPECT_EQ(copied->NamePattern(), expected->NamePattern());
        EXPECT_EQ(&copied->Rule(), &expected->Rule());
        EXPECT_EQ(copied->Group(), &second);
        ASSERT_EQ(copied->Parents().size(), expected->Parents().size()) << copied->NamePattern();
        for (std::size_t p = 0; p < expected->Parents().size(); ++p) {
            const CParameterField* parent = copied->Parents()[p];
            const CParameterField* wanted = expected->Parents()[p];
            EXPECT_EQ(parent->NamePattern(), wanted->NamePattern());
            if (built.IndexOf(wanted) >= 0) {
                EXPECT_EQ(parent->Group(), &second) << "a link inside the group stays inside the new group";
            } else {
                EXPECT_EQ(parent, wanted) << "a link to a page field is kept";
            }
        }
        EXPECT_NE(copied, first.Fields().At(i));
    }
    ASSERT_NE(second.ChildList(), nullptr);
    EXPECT_EQ(second.ChildList()->OwnerGroup(), &second);
}

// Every load clears every list and makes its groups again: a group made after a clear is as new,
// whatever answers, file entries, choices and modes the group it was made from had.
TEST_F(GroupsTest, GroupsMadeAfterAClearAreAsNew) {
    DescribeDualRolePort();
    CFieldGroupList& svids = sheet.GetGroupList(EGroupType::SopSvid);
    CFieldGroupList& pdos = sheet.GetGroupList(EGroupType::SourcePdo);
    {
        CGroupListEditor svidEditor(svids);
        AddFixedSvid(svidEditor, L"FF01", 3);
        AddFixedSvid(svidEditor, L"8087", 2);
        CGroupListEditor pdoEditor(pdos);
        AddFixedSourcePdo(pdoEditor, L"5000");
        AddFixedSourcePdo(pdoEditor, L"9000");
    }
    ASSERT_EQ(svids.Size(), 2u);
    for (CFieldList* fields : {&svids.At(1).Fields(), &pdos.At(1).Fields()}) {
        for (CParameterField* field : *fields) {
            field->SetFileEntry(L"Name_From_The_File", L"123");
            field->SetEnabled(false);
            field->SetChanged(true);
        }
    }
    sheet.Reevaluate(0, {.initial = true, .fullReset = true});
    svids.Clear();
    pdos.Clear();

    CFieldGroupList freshSvids(sheet.GroupPrototypes().Get(EGroupType::SopSvid), svids.EnclosingList(),
                               nullptr);
    CFieldGroupList freshPdos(sheet.GroupPrototypes().Get(EGroupType::SourcePdo), pdos.EnclosingList(),
                              nullptr);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        CFieldGroup& svid = svids.AppendNewGroup();
        CFieldGroup& freshSvid = freshSvids.AppendNewGroup();
        ExpectSameAsFresh(svid, freshSvid);
        ASSERT_NE(svid.ChildList(), nullptr);
        ExpectSameAsFresh(svid.ChildList()->AppendNewGroup(), freshSvid.ChildList()->AppendNewGroup());
        ExpectSameAsFresh(pdos.AppendNewGroup(), freshPdos.AppendNewGroup());
    }
}

} // namespace
