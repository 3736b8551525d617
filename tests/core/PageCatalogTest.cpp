#include "catalog/PageCatalog.h"
#include "catalog/GroupCatalog.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <set>
#include <string>
#include <vector>

namespace {

const SFieldRow* FindRow(const std::wstring& name) {
    for (const SPageRow& page : PageCatalog()) {
        for (const SFieldRow& field : page.fields) {
            if (field.name == name) {
                return &field;
            }
        }
    }
    return nullptr;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

} // namespace

TEST(PageCatalog, HoldsEveryFieldOnceOnItsPage) {
    const std::vector<std::size_t> perPage = {8, 6, 23, 16, 3, 9, 5, 1, 7, 6, 4, 9, 3, 6, 25, 3, 2};
    ASSERT_EQ(PageCatalog().size(), static_cast<std::size_t>(kPageCount));

    std::size_t total = 0;
    std::set<std::wstring> names; // name patterns match regardless of case
    for (std::size_t i = 0; i < PageCatalog().size(); ++i) {
        const SPageRow& page = PageCatalog()[i];
        SCOPED_TRACE(page.sectionCaption);
        EXPECT_EQ(static_cast<std::size_t>(page.id), i);
        EXPECT_EQ(&PageRow(page.id), &page);
        EXPECT_EQ(page.fields.size(), perPage[i]);
        for (const SFieldRow& field : page.fields) {
            EXPECT_TRUE(names.insert(Lower(field.name)).second) << field.name;
            EXPECT_FALSE(field.help.empty());
            EXPECT_EQ(field.kind == EFieldKind::Text, field.name[0] == L'$');
        }
        total += page.fields.size();
    }
    EXPECT_EQ(total, 136u);
    EXPECT_EQ(names.size(), 136u);
}

TEST(PageCatalog, IntroFieldsComeInCreationOrder) {
    const std::vector<std::wstring> expected = {L"$Orvik_Specification", L"$Orvik_Producer",
                                                L"$Vendor_Name",         L"$Model_Part_Number",
                                                L"$Product_Revision",    L"$TID",
                                                L"Orvik_Product_Type",   L"$Port_Label"};
    std::vector<std::wstring> names;
    for (const SFieldRow& field : PageRow(EPage::Intro).fields) {
        names.push_back(field.name);
    }
    EXPECT_EQ(names, expected);
}

TEST(PageCatalog, PagesCarryCaptionLabelAndList) {
    struct SExpectedPage {
        EPage id;
        const wchar_t* caption;
        const wchar_t* label;
        EGroupType listedGroupType;
    };
    using G = EGroupType;
    // clang-format off
    const SExpectedPage rows[] = {
        {EPage::Intro,         L"Intro",                    L"Intro",                    G::None},
        {EPage::OrvikProduct,  L"Orvik Product",            L"Orvik Product",            G::None},
        {EPage::General,       L"General PD Settings",      L"General PD Settings",      G::None},
        {EPage::UsbTypeC,      L"USB Type-C",               L"USB Type-C\u2122",         G::None},
        {EPage::ProductPower,  L"Product Power",            L"Product Power",            G::None},
        {EPage::UsbHost,       L"USB Host",                 L"USB Host",                 G::None},
        {EPage::UsbDevice,     L"USB Device",               L"USB Device",               G::None},
        {EPage::BC12,          L"Battery Charging 1.2",     L"Battery Charging 1.2",     G::None},
        {EPage::Source,        L"Source",                   L"PD Source",                G::SourcePdo},
        {EPage::Sink,          L"Sink",                     L"PD Sink",                  G::SinkPdo},
        {EPage::DualRole,      L"Dual Role",                L"Dual Role",                G::None},
        {EPage::SOPDiscovery1, L"SOP Discovery - Part One", L"SOP Discovery - Part One", G::None},
        {EPage::SOPDiscovery2, L"SOP Discovery - Part Two", L"SOP Discovery - Part Two", G::SopSvid},
        {EPage::AMA,           L"AMA",                      L"AMA",                      G::None},
        {EPage::Cables1,       L"Cable - Part One",         L"Cable - Part One",         G::None},
        {EPage::Cables2,       L"Cable - Part Two",         L"Cable - Part Two",         G::CableSvid},
        {EPage::Retimer,       L"Re-timer",                 L"Re-timer",                 G::None},
    };
    // clang-format on
    for (const SExpectedPage& row : rows) {
        const SPageRow& page = PageRow(row.id);
        SCOPED_TRACE(page.sectionCaption);
        EXPECT_EQ(page.sectionCaption, row.caption);
        EXPECT_EQ(page.tabLabel, row.label);
        EXPECT_EQ(page.listedGroupType, row.listedGroupType);
        EXPECT_EQ(page.productTypeParent, row.id != EPage::Intro);
    }
}

TEST(PageCatalog, PageWideParentsFollowTheirPages) {
    using Patterns = std::vector<std::wstring>;
    EXPECT_EQ(PageRow(EPage::General).pageWideParents, Patterns{L"^USB_PD_Support$"});
    EXPECT_EQ(PageRow(EPage::ProductPower).pageWideParents,
              (Patterns{L"^Connector_Type$", L"^Type_C_State_Machine$"}));
    EXPECT_EQ(PageRow(EPage::UsbTypeC).pageWideParents, Patterns{L"^Type_C_State_Machine$"});
    for (EPage page : {EPage::DualRole, EPage::Sink, EPage::Source, EPage::SOPDiscovery1}) {
        EXPECT_EQ(PageRow(page).pageWideParents, Patterns{L"^PD_Port_Type$"});
    }
    EXPECT_TRUE(PageRow(EPage::Intro).pageWideParents.empty());
    EXPECT_TRUE(PageRow(EPage::Cables1).pageWideParents.empty());
}

TEST(PageCatalog, RowsThatAreEasyToGetWrong) {
    struct SRow {
        const wchar_t* name;
        EFieldKind kind;
        unsigned digits;
        unsigned long long minimum;
        unsigned long long maximum;
        COptionList choices;
    };
    // clang-format off
    const SRow rows[] = {
        {L"PD_Specification_Revision",    EFieldKind::Choice, 0, 0, 0,       {{0, L"Revision 2.0"}, {2, L"Revision 3.0"}}},
        {L"Product_Type",                 EFieldKind::Choice, 0, 0, 0,       {{3, L"Passive Cable"}, {4, L"Active Cable"}}},
        {L"Type_C_to_Type_C_Capt_Vdm_V2", EFieldKind::Choice, 0, 0, 0,       {{2, L"USB Type-C"}, {3, L"Captive"}}},
        {L"Cable_VBUS_Current",           EFieldKind::Choice, 0, 0, 0,       {{1, L"3A"}, {2, L"5A"}}},
        {L"Connector_Type",               EFieldKind::Choice, 0, 0, 0,       {{0, L"Type-A"}, {1, L"Type-B"}, {2, L"USB Type-C\u2122"}}},
        {L"Hub_Port_Number",              EFieldKind::Number, 0, 0, 0,       {}},
        {L"XID_SOP",                      EFieldKind::Number, 0, 0, 1048575, {}},
        {L"Num_SVIDs_min_SOP",            EFieldKind::Number, 0, 1, 52,      {}},
        {L"AMA_HW_Vers",                  EFieldKind::Hex,    1, 0, 0,       {}},
        {L"USB_VID",                      EFieldKind::Hex,    4, 0, 0,       {}},
        {L"Cable_SOP''_controller",       EFieldKind::YesNo,  0, 0, 0,       {}},
        {L"$Vendor_Name",                 EFieldKind::Text,   0, 0, 0,       {}},
    };
    // clang-format on
    for (const SRow& row : rows) {
        SCOPED_TRACE(row.name);
        const SFieldRow* field = FindRow(row.name);
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->kind, row.kind);
        EXPECT_EQ(field->digits, row.digits);
        EXPECT_EQ(field->minimum, row.minimum);
        EXPECT_EQ(field->maximum, row.maximum);
        EXPECT_EQ(field->choices, row.choices);
    }
}

TEST(PageCatalog, OnlyListsThatActionsBuildStartEmpty) {
    const std::set<std::wstring> builtByActions = {L"Type_C_State_Machine", L"BC_1_2_Support",
                                                   L"Product_Type_UFP_SOP", L"Product_Type_DFP_SOP",
                                                   L"Cable_Latency",        L"Cable_Termination_Type"};
    for (const SPageRow& page : PageCatalog()) {
        for (const SFieldRow& field : page.fields) {
            if (field.kind == EFieldKind::Choice) {
                EXPECT_EQ(field.choices.empty(), builtByActions.count(field.name) == 1) << field.name;
            } else {
                EXPECT_TRUE(field.choices.empty());
            }
        }
    }
}

TEST(PageCatalog, PowerFieldsCarryUnitsAndTheirStepRule) {
    const std::wstring stepRule = L"If it is less than 10000, it must be exactly divisible by 500. "
                                  L"If it is greater than 10000, it must be exactly divisible by 1000.";
    const SFieldRow* total = FindRow(L"Product_Total_Source_Power");
    const SFieldRow* source = FindRow(L"PD_Power_as_Source");
    const SFieldRow* sink = FindRow(L"PD_Power_as_Sink");
    ASSERT_TRUE(total && source && sink);

    EXPECT_EQ(total->maximum, 1000u);
    EXPECT_EQ(total->units, L"W");
    EXPECT_TRUE(total->note.empty());
    EXPECT_EQ(source->minimum, 500u);
    EXPECT_EQ(sink->minimum, 0u);
    for (const SFieldRow* power : {source, sink}) {
        EXPECT_EQ(power->maximum, 100000u);
        EXPECT_EQ(power->scale, 1u);
        EXPECT_EQ(power->units, L"mW");
        EXPECT_EQ(power->note, stepRule);
    }
}

TEST(PageCatalog, QuotedHelpTextsAreKeptWordForWord) {
    EXPECT_EQ(FindRow(L"$Orvik_Specification")->help, L"This field cannot be edited by users.");
    EXPECT_EQ(FindRow(L"Num_Swappable_Battery_Slots")->help, L"Valid values are in the range 0-4");
    EXPECT_EQ(FindRow(L"Device_Gen2x1_tLinkTurnaround")->help, L"Valid values are 700ns - 1500ns.");
    EXPECT_EQ(FindRow(L"Data_Capable_as_USB_Host_SOP")->help,
              L"This field shall always be set to the same value as Type_C_Can_Act_As_Host.");
}

TEST(PageCatalog, PatternEscapesTheFreeTextMark) {
    EXPECT_EQ(PatternOf(L"$Vendor_Name"), L"^\\$Vendor_Name$");
    EXPECT_EQ(PatternOf(L"Connector_Type"), L"^Connector_Type$");
    EXPECT_EQ(FindRow(L"$TID")->Pattern(), L"^\\$TID$");
}

TEST(PageCatalog, NumbersShowTheUnitTheUserTypesWithoutChangingTheFile) {
    for (const wchar_t* name : {L"Host_Gen1x1_tLinkTurnaround", L"Host_Gen2x1_tLinkTurnaround",
                                L"Device_Gen1x1_tLinkTurnaround", L"Device_Gen2x1_tLinkTurnaround"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(FindRow(name)->shownUnit, L"ns");
        EXPECT_TRUE(FindRow(name)->units.empty()); // the file writes no comment after them
    }
    // The file's comments keep their "mS"; the box says ms.
    for (const wchar_t* name : {L"Src_PD_OCP_OC_Debounce1", L"Src_PD_OCP_UV_Debounce1"}) {
        SCOPED_TRACE(name);
        const SFieldRow* row = FindGroupFieldRow(EGroupType::SourcePdo, name);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->units, L"mS");
        EXPECT_EQ(row->shownUnit, L"ms");
    }
}
