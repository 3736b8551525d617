#include "FormFixture.h"
#include "catalog/RuleTable.h"
#include "logging/Logger.h"
#include "model/Errors.h"
#include "model/FieldKinds.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<int> Ids(const COptionList& options) {
    std::vector<int> ids;
    for (const COption& option : options) {
        ids.push_back(option.first);
    }
    return ids;
}

std::wstring ErrorOf(const std::function<void()>& run) {
    try {
        run();
    } catch (const fieldlist_error& e) {
        return e.Message();
    }
    return L"(no error)";
}

class PageRulesTest : public CFormFixture {
protected:
    void SetUp() override {
        CFormFixture::SetUp();
        log.Clear();
    }

    CParameterField* F(const std::wstring& name) const {
        CParameterField* field = sheet.FindField(name);
        EXPECT_NE(field, nullptr) << std::string(name.begin(), name.end());
        return field;
    }
    CPulldownListField* List(const std::wstring& name) const {
        return FieldCast<CPulldownListField>(F(name));
    }
    bool Available(const std::wstring& name) const { return F(name)->IsAvailable(); }
    const std::wstring& Value(const std::wstring& name) const { return F(name)->Value(); }
    bool Valid(const std::wstring& name) const { return F(name)->PassesValidity(); }
    // Available, holding `value` and locked against the user.
    void ExpectForced(const std::wstring& name, const std::wstring& value) const {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        EXPECT_TRUE(Available(name));
        EXPECT_EQ(Value(name), value);
        EXPECT_FALSE(F(name)->IsEnabled());
    }
    std::vector<EPage> TabIds() const {
        std::vector<EPage> ids;
        for (const CPageSuper* page : sheet.Tabs()) {
            ids.push_back(page->Id());
        }
        return ids;
    }

    // A USB Type-C port with Power Delivery and the given power role.
    void TypeCPdPort(const std::wstring& portType) {
        Answer(L"Orvik_Product_Type", L"0");
        Answer(L"Connector_Type", L"2");
        Answer(L"USB_PD_Support", L"YES");
        Answer(L"PD_Port_Type", portType);
    }
    // A DRP port that can act as a device and answers Discover Identity as a UFP.
    void DiscoverableDevice() {
        TypeCPdPort(L"4");
        Answer(L"USB_Comms_Capable", L"YES");
        Answer(L"Type_C_Can_Act_As_Host", L"NO");
        Answer(L"Type_C_Can_Act_As_Device", L"YES");
        Answer(L"Responds_To_Discov_SOP_UFP", L"YES");
    }
};

TEST_F(PageRulesTest, EveryFieldReadByARuleExistsUnderThatExactPattern) {
    for (const CParameterField* field : sheet.FieldVector()) {
        for (const std::wstring& name : field->Rule().reads) {
            const CParameterField* parent = sheet.FindField(name);
            ASSERT_NE(parent, nullptr) << std::string(name.begin(), name.end());
            EXPECT_EQ(parent->NamePattern(), name);
            EXPECT_EQ(field->FindParent(name), parent);
        }
    }
}

// ---- product type, connector and the tab set ----

TEST_F(PageRulesTest, ANewFormAsksOnlyTheIntroQuestions) {
    EXPECT_EQ(TabIds(), std::vector<EPage>{EPage::Intro});
    EXPECT_TRUE(Available(L"Orvik_Product_Type"));
    EXPECT_FALSE(Available(L"$Port_Label"));
}

TEST_F(PageRulesTest, ACableIsAlwaysPdButNeverSopAndAsksTheCableQuestions) {
    Answer(L"Orvik_Product_Type", L"1");
    EXPECT_EQ(TabIds(),
              (std::vector<EPage>{EPage::Intro, EPage::OrvikProduct, EPage::General, EPage::Cables1}));
    ExpectForced(L"USB_PD_Support", L"YES");
    ExpectForced(L"SOP_Capable", L"NO");
    for (const wchar_t* name : {L"XID", L"Product_Type", L"VBUS_through_cable", L"Cable_SOP''_controller"}) {
        EXPECT_TRUE(Available(name));
    }
    for (const wchar_t* name :
         {L"Port_Battery_Powered", L"Connector_Type", L"$Port_Label", L"USB_Comms_Capable"}) {
        EXPECT_FALSE(Available(name));
    }
    EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
}

TEST_F(PageRulesTest, ATypeAPortHasNoPdNoTypeCAndIsAHost) {
    Answer(L"Orvik_Product_Type", L"0");
    Answer(L"Connector_Type", L"0");
    ExpectForced(L"USB_PD_Support", L"NO");
    EXPECT_FALSE(Available(L"Type_C_State_Machine"));
    EXPECT_TRUE(Available(L"Host_Speed"));
    EXPECT_TRUE(sheet.HasTab(EPage::UsbHost));
    EXPECT_FALSE(sheet.HasTab(EPage::UsbTypeC));

    // A Type-C connector hands the PD question back to the user, answer and all.
    Answer(L"Connector_Type", L"2");
    EXPECT_TRUE(F(L"USB_PD_Support")->IsEnabled());
    EXPECT_EQ(Value(L"USB_PD_Support"), L"NO");
    EXPECT_TRUE(Available(L"Type_C_State_Machine"));
}

TEST_F(PageRulesTest, AReTimerIsNeverAskedAboutPd) {
    Answer(L"Orvik_Product_Type", L"2");
    EXPECT_FALSE(Available(L"USB_PD_Support"));
    EXPECT_TRUE(Available(L"ReTimer_Type"));
    EXPECT_TRUE(sheet.HasTab(EPage::Retimer));
}

// ---- state machine choices and the USB Type-C questions ----

TEST_F(PageRulesTest, AProviderOnlyPortIsForcedToSrcAndTheTypeCQuestionsFollowAtOnce) {
    TypeCPdPort(L"3");
    ExpectForced(L"Type_C_State_Machine", L"0");
    EXPECT_EQ(Ids(List(L"Type_C_State_Machine")->Options()), std::vector<int>{0});
    EXPECT_FALSE(Available(L"Type_C_Is_VCONN_Powered_Accessory"));
    EXPECT_TRUE(Available(L"RP_Value"));
    EXPECT_TRUE(Available(L"Type_C_Is_Debug_Target_SRC"));
    EXPECT_FALSE(Available(L"Type_C_Is_Debug_Target_SNK"));
    EXPECT_FALSE(Available(L"Type_C_Implements_Try_SRC"));
    EXPECT_TRUE(Available(L"Product_Total_Source_Power"));
    EXPECT_TRUE(sheet.HasTab(EPage::UsbTypeC));
    EXPECT_TRUE(sheet.HasTab(EPage::Source));
    EXPECT_FALSE(sheet.HasTab(EPage::Sink));
}

TEST_F(PageRulesTest, StateMachineChoicesFollowThePowerRoleAndKeepAnAnswerThatStillFits) {
    TypeCPdPort(L"1");
    EXPECT_EQ(Ids(List(L"Type_C_State_Machine")->Options()), (std::vector<int>{1, 2}));
    EXPECT_TRUE(F(L"Type_C_State_Machine")->IsEnabled());
    EXPECT_EQ(Value(L"Type_C_State_Machine"), L"");
    Answer(L"Type_C_State_Machine", L"2");
    Answer(L"PD_Port_Type", L"2");
    EXPECT_EQ(Ids(List(L"Type_C_State_Machine")->Options()), (std::vector<int>{0, 2}));
    EXPECT_EQ(Value(L"Type_C_State_Machine"), L"2");
    Answer(L"Type_C_State_Machine", L"0");
    Answer(L"PD_Port_Type", L"0");
    ExpectForced(L"Type_C_State_Machine", L"1");
    Answer(L"PD_Port_Type", L"2");
    EXPECT_EQ(Value(L"Type_C_State_Machine"), L"");

    // Without PD every state machine is possible.
    Answer(L"Type_C_State_Machine", L"2");
    Answer(L"USB_PD_Support", L"NO");
    EXPECT_EQ(Ids(List(L"Type_C_State_Machine")->Options()), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(F(L"Type_C_State_Machine")->IsEnabled());
    EXPECT_EQ(Value(L"Type_C_State_Machine"), L"2");
}

TEST_F(PageRulesTest, BatteryChargingRolesFollowStateMachineAndBattery) {
    TypeCPdPort(L"0");
    Answer(L"Port_Battery_Powered", L"NO");
    ExpectForced(L"BC_1_2_Support", L"0");
    Answer(L"Port_Battery_Powered", L"YES");
    EXPECT_EQ(Ids(List(L"BC_1_2_Support")->Options()), (std::vector<int>{0, 1}));
    EXPECT_TRUE(F(L"BC_1_2_Support")->IsEnabled());
    Answer(L"PD_Port_Type", L"4");
    EXPECT_EQ(Ids(List(L"BC_1_2_Support")->Options()), (std::vector<int>{0, 1, 2, 3}));
    Answer(L"BC_1_2_Support", L"3");
    EXPECT_TRUE(sheet.HasTab(EPage::BC12));
    Answer(L"PD_Port_Type", L"3");
    EXPECT_EQ(Ids(List(L"BC_1_2_Support")->Options()), (std::vector<int>{0, 2}));
    EXPECT_EQ(Value(L"BC_1_2_Support"), L"");
    EXPECT_FALSE(sheet.HasTab(EPage::BC12));
}

// ---- PD revision, SOP and the general settings ----

TEST_F(PageRulesTest, RevisionTwoDropsThePd3QuestionsAndTheirAnswers) {
    DiscoverableDevice();
    Answer(L"Port_Battery_Powered", L"NO");
    Answer(L"PD_Specification_Revision", L"2");
    const std::vector<std::wstring> pd3 = {
        L"Chunking_Implemented_SOP",         L"Unchunked_Extended_Messages_Supported",
        L"Manufacturer_Info_Supported_Port", L"Num_Fixed_Batteries",
        L"Num_Swappable_Battery_Slots",      L"FR_Swap_Supported_As_Source",
        L"FR_Swap_Reqd_Type_C_Current",      L"Product_Type_DFP_SOP",
        L"Security_Msgs_Supported_SOP"};
    for (const std::wstring& name : pd3) {
        ASSERT_TRUE(Available(name)) << std::string(name.begin(), name.end());
        Answer(name, FieldAs<CYesNoPulldownListField>(F(name)) ? L"YES" : L"1");
        ASSERT_NE(Value(name), L"") << std::string(name.begin(), name.end());
    }
    Answer(L"Manufacturer_Info_VID_Port", L"04b4");

    Answer(L"PD_Specification_Revision", L"0");
    for (const std::wstring& name : pd3) {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        EXPECT_FALSE(Available(name));
        EXPECT_EQ(Value(name), L"");
    }
    EXPECT_FALSE(Available(L"Manufacturer_Info_VID_Port"));
    EXPECT_EQ(Value(L"Manufacturer_Info_VID_Port"), L"");
}

TEST_F(PageRulesTest, SopDoublePrimeFollowsSopPrime) {
    TypeCPdPort(L"4");
    EXPECT_FALSE(F(L"SOP_PP_Capable")->IsEnabled());
    Answer(L"SOP_P_Capable", L"NO");
    ExpectForced(L"SOP_PP_Capable", L"NO");
    Answer(L"SOP_P_Capable", L"YES");
    EXPECT_TRUE(F(L"SOP_PP_Capable")->IsEnabled());
    Answer(L"SOP_PP_Capable", L"YES");
    Answer(L"SOP_P_Capable", L"");
    EXPECT_EQ(Value(L"SOP_PP_Capable"), L"");
    EXPECT_FALSE(F(L"SOP_PP_Capable")->IsEnabled());
}

TEST_F(PageRulesTest, BatteryPoweredPortsDeclareABatteryOrSlot) {
    TypeCPdPort(L"0");
    Answer(L"PD_Specification_Revision", L"2");
    Answer(L"Port_Battery_Powered", L"YES");
    Answer(L"Num_Fixed_Batteries", L"0");
    Answer(L"Num_Swappable_Battery_Slots", L"0");
    EXPECT_FALSE(Valid(L"Num_Fixed_Batteries"));
    EXPECT_FALSE(Valid(L"Num_Swappable_Battery_Slots"));
    EXPECT_FALSE(sheet.Page(EPage::General).AreAnswersValid());
    Answer(L"Num_Swappable_Battery_Slots", L"1");
    EXPECT_TRUE(Valid(L"Num_Fixed_Batteries"));
    EXPECT_TRUE(Valid(L"Num_Swappable_Battery_Slots"));
    Answer(L"Num_Swappable_Battery_Slots", L"0");
    Answer(L"Port_Battery_Powered", L"NO");
    EXPECT_TRUE(Valid(L"Num_Fixed_Batteries"));
    // A partner with no number counts as -1: one battery and an empty slot count sum to nothing.
    Answer(L"Port_Battery_Powered", L"YES");
    Answer(L"Num_Fixed_Batteries", L"1");
    Answer(L"Num_Swappable_Battery_Slots", L"");
    EXPECT_FALSE(Valid(L"Num_Fixed_Batteries"));
}

// ---- USB Type-C roles ----

TEST_F(PageRulesTest, TryingBothRolesIsInvalid) {
    TypeCPdPort(L"4");
    ExpectForced(L"Type_C_State_Machine", L"2");
    Answer(L"Type_C_Implements_Try_SRC", L"YES");
    Answer(L"Type_C_Implements_Try_SNK", L"YES");
    EXPECT_FALSE(Valid(L"Type_C_Implements_Try_SRC"));
    EXPECT_FALSE(Valid(L"Type_C_Implements_Try_SNK"));
    Answer(L"Type_C_Implements_Try_SNK", L"NO");
    EXPECT_TRUE(Valid(L"Type_C_Implements_Try_SRC"));
    EXPECT_TRUE(Valid(L"Type_C_Implements_Try_SNK"));
}

TEST_F(PageRulesTest, DataRolesMatchUsbCommunication) {
    TypeCPdPort(L"4");
    Answer(L"USB_Comms_Capable", L"YES");
    Answer(L"Type_C_Can_Act_As_Host", L"NO");
    Answer(L"Type_C_Can_Act_As_Device", L"NO");
    EXPECT_FALSE(Valid(L"Type_C_Can_Act_As_Host"));
    EXPECT_FALSE(Valid(L"Type_C_Can_Act_As_Device"));
    Answer(L"Type_C_Can_Act_As_Device", L"YES");
    EXPECT_TRUE(Valid(L"Type_C_Can_Act_As_Host"));
    EXPECT_TRUE(Valid(L"Type_C_Can_Act_As_Device"));

    Answer(L"USB_Comms_Capable", L"NO");
    ExpectForced(L"Type_C_Can_Act_As_Host", L"NO");
    ExpectForced(L"Type_C_Can_Act_As_Device", L"NO");
    F(L"Type_C_Can_Act_As_Host")->SetValue(L"YES");
    EXPECT_FALSE(Valid(L"Type_C_Can_Act_As_Host"));

    // A sink-only port is no host, a source-only port no device.
    Answer(L"USB_Comms_Capable", L"YES");
    Answer(L"PD_Port_Type", L"0");
    ExpectForced(L"Type_C_Can_Act_As_Host", L"NO");
    EXPECT_TRUE(F(L"Type_C_Can_Act_As_Device")->IsEnabled());
    Answer(L"PD_Port_Type", L"3");
    ExpectForced(L"Type_C_Can_Act_As_Device", L"NO");
}

TEST_F(PageRulesTest, DataRoleSwapIsForcedWhenOnlyOneRoleFits) {
    TypeCPdPort(L"4");
    Answer(L"USB_Comms_Capable", L"YES");
    Answer(L"Type_C_Can_Act_As_Host", L"YES");
    Answer(L"Type_C_Can_Act_As_Device", L"NO");
    ExpectForced(L"DR_Swap_To_DFP_Supported", L"YES");
    EXPECT_TRUE(F(L"DR_Swap_To_UFP_Supported")->IsEnabled());
    Answer(L"Type_C_Can_Act_As_Device", L"YES");
    EXPECT_TRUE(F(L"DR_Swap_To_DFP_Supported")->IsEnabled());

    // A sink that controls alternate modes must be able to become the DFP.
    Answer(L"PD_Port_Type", L"0");
    EXPECT_TRUE(F(L"DR_Swap_To_DFP_Supported")->IsEnabled());
    Answer(L"Type_C_Is_Alt_Mode_Controller", L"YES");
    ExpectForced(L"DR_Swap_To_DFP_Supported", L"YES");
}

TEST_F(PageRulesTest, VconnAnswersCascadeThroughTwoPages) {
    TypeCPdPort(L"4");
    Answer(L"VCONN_Swap_To_On_Supported", L"YES");
    ExpectForced(L"Type_C_Sources_VCONN", L"YES");
    ExpectForced(L"VCONN_Swap_To_Off_Supported", L"YES");
    // Unlocked, the answer stays until the user changes it.
    Answer(L"VCONN_Swap_To_On_Supported", L"NO");
    EXPECT_TRUE(F(L"Type_C_Sources_VCONN")->IsEnabled());
    ExpectForced(L"VCONN_Swap_To_Off_Supported", L"YES");
    Answer(L"Type_C_Sources_VCONN", L"NO");
    EXPECT_TRUE(F(L"VCONN_Swap_To_Off_Supported")->IsEnabled());
}

// ---- USB host ----

TEST_F(PageRulesTest, HostSuspendAndHubQuestions) {
    Answer(L"Orvik_Product_Type", L"0");
    Answer(L"Connector_Type", L"0");
    Answer(L"Host_Is_Embedded", L"NO");
    ExpectForced(L"Host_Suspend_Supported", L"YES");
    Answer(L"Host_Is_Embedded", L"YES");
    EXPECT_TRUE(F(L"Host_Suspend_Supported")->IsEnabled());

    Answer(L"Is_DFP_On_Hub", L"YES");
    auto* hubPort = FieldCast<CNumEditField>(F(L"Hub_Port_Number"));
    EXPECT_TRUE(hubPort->IsAvailable());
    EXPECT_FALSE(hubPort->IsEnabled());
    EXPECT_EQ(hubPort->Maximum(), 0u);
    Answer(L"Host_Speed", L"0");
    EXPECT_TRUE(hubPort->IsEnabled());
    EXPECT_EQ(hubPort->Prompt(), L"Enter a number in the range 1 through 255.");
    Answer(L"Hub_Port_Number", L"200");
    EXPECT_TRUE(Valid(L"Hub_Port_Number"));
    Answer(L"Host_Speed", L"3");
    EXPECT_EQ(hubPort->Maximum(), 15u);
    EXPECT_FALSE(Valid(L"Hub_Port_Number"));
}

TEST_F(PageRulesTest, ATypeCHubPortIsADfpOnHubByItsTypeCAnswer) {
    TypeCPdPort(L"4");
    Answer(L"USB_Comms_Capable", L"YES");
    Answer(L"Type_C_Can_Act_As_Host", L"YES");
    Answer(L"Type_C_Port_On_Hub", L"YES");
    ExpectForced(L"Is_DFP_On_Hub", L"YES");
    EXPECT_TRUE(Available(L"Hub_Port_Number"));
}

// ---- power ----

TEST_F(PageRulesTest, PdPowerComesInHalfWattsUpToTenWattsAndWholeWattsAbove) {
    TypeCPdPort(L"4");
    auto* power = FieldCast<CNumEditField>(F(L"PD_Power_as_Source"));
    EXPECT_EQ(power->Units(), L"mW");
    EXPECT_EQ(power->Scale(), 1u);
    EXPECT_TRUE(power->WriteComment());
    for (const auto& [text, valid] : std::vector<std::pair<std::wstring, bool>>{
             {L"10000", true}, {L"10500", false}, {L"12000", true}, {L"9500", true}, {L"9750", false}}) {
        Answer(L"PD_Power_as_Source", text);
        EXPECT_EQ(Valid(L"PD_Power_as_Source"), valid) << std::string(text.begin(), text.end());
    }
    Answer(L"PD_Power_as_Sink", L"0");
    EXPECT_TRUE(Valid(L"PD_Power_as_Sink"));
}

// ---- discovery and product types ----

TEST_F(PageRulesTest, AUfpProductTypeSurvivesLaterEvaluations) {
    DiscoverableDevice();
    ExpectForced(L"Data_Capable_as_USB_Host_SOP", L"NO");
    ExpectForced(L"Data_Capable_as_USB_Device_SOP", L"YES");
    auto* ufp = List(L"Product_Type_UFP_SOP");
    EXPECT_EQ(Ids(ufp->Options()), (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(ufp->IsEnabled());
    Answer(L"Product_Type_UFP_SOP", L"2");
    Answer(L"Responds_To_Discov_SOP_DFP", L"YES");
    Answer(L"PD_Port_Type", L"4");
    EXPECT_EQ(ufp->Value(), L"2");

    Answer(L"Type_C_Is_Alt_Mode_Adapter", L"YES");
    ExpectForced(L"Product_Type_UFP_SOP", L"5");
    EXPECT_TRUE(sheet.HasTab(EPage::AMA));
    Answer(L"Type_C_Is_Alt_Mode_Adapter", L"NO");
    EXPECT_EQ(ufp->Value(), L"");
    EXPECT_TRUE(ufp->IsEnabled());
    Answer(L"Type_C_Can_Act_As_Device", L"NO");
    Answer(L"Type_C_Can_Act_As_Host", L"YES");
    ExpectForced(L"Product_Type_UFP_SOP", L"0");

    // Only a port that answers as a UFP can be an alternate mode adapter.
    Answer(L"Responds_To_Discov_SOP_UFP", L"NO");
    ExpectForced(L"Type_C_Is_Alt_Mode_Adapter", L"NO");
}

TEST_F(PageRulesTest, AUfpProductTypeIsAskedOnceThePortCanActAsADevice) {
    TypeCPdPort(L"4");
    Answer(L"USB_Comms_Capable", L"YES");
    Answer(L"Type_C_Can_Act_As_Host", L"NO");
    Answer(L"Responds_To_Discov_SOP_UFP", L"YES");
    ExpectForced(L"Product_Type_UFP_SOP", L"0");

    Answer(L"Type_C_Can_Act_As_Device", L"YES");
    auto* ufp = List(L"Product_Type_UFP_SOP");
    EXPECT_EQ(Ids(ufp->Options()), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(ufp->Value(), L"");
    EXPECT_TRUE(ufp->IsEnabled());
    EXPECT_FALSE(Valid(L"Product_Type_UFP_SOP"));
    EXPECT_FALSE(sheet.Page(EPage::SOPDiscovery1).IsPageValid());

    // The user's own "Undefined" is an answer and stays.
    Answer(L"Product_Type_UFP_SOP", L"0");
    Answer(L"Responds_To_Discov_SOP_DFP", L"YES");
    Answer(L"Type_C_Is_Alt_Mode_Adapter", L"NO");
    EXPECT_EQ(ufp->Value(), L"0");
    EXPECT_TRUE(Valid(L"Product_Type_UFP_SOP"));

    // Back to the forced choice and out again: asked again.
    Answer(L"Type_C_Can_Act_As_Device", L"NO");
    ExpectForced(L"Product_Type_UFP_SOP", L"0");
    Answer(L"Type_C_Can_Act_As_Device", L"YES");
    EXPECT_EQ(ufp->Value(), L"");
}

TEST_F(PageRulesTest, DfpProductTypesFollowHostAndAltModeController) {
    DiscoverableDevice();
    Answer(L"PD_Specification_Revision", L"2");
    auto* dfp = List(L"Product_Type_DFP_SOP");
    EXPECT_EQ(Ids(dfp->Options()), (std::vector<int>{0, 1, 2, 3, 4}));
    Answer(L"Product_Type_DFP_SOP", L"3");
    Answer(L"Type_C_Can_Act_As_Host", L"YES");
    EXPECT_EQ(Ids(dfp->Options()), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(dfp->Value(), L"3");
    Answer(L"Type_C_Is_Alt_Mode_Controller", L"YES");
    ExpectForced(L"Product_Type_DFP_SOP", L"4");
}

TEST_F(PageRulesTest, LosingPdEmptiesFourLevelsOfAnswersAndTheAmaTab) {
    DiscoverableDevice();
    Answer(L"Type_C_Is_Alt_Mode_Adapter", L"YES");
    Answer(L"AMA_VCONN_reqd", L"YES");
    Answer(L"AMA_VCONN_power", L"3");
    ASSERT_TRUE(sheet.HasTab(EPage::AMA));

    Answer(L"USB_PD_Support", L"NO");
    for (const wchar_t* name : {L"Responds_To_Discov_SOP_UFP", L"Type_C_Is_Alt_Mode_Adapter",
                                L"Product_Type_UFP_SOP", L"AMA_VCONN_reqd", L"AMA_VCONN_power"}) {
        EXPECT_FALSE(Available(name));
        EXPECT_EQ(Value(name), L"");
    }
    EXPECT_FALSE(sheet.HasTab(EPage::AMA));
    EXPECT_FALSE(sheet.HasTab(EPage::SOPDiscovery1));
}

// ---- cables ----

TEST_F(PageRulesTest, CableLatencyChoicesAndAnswerFollowTheCableKind) {
    Answer(L"Orvik_Product_Type", L"1");
    Answer(L"Product_Type", L"3");
    auto* latency = List(L"Cable_Latency");
    ASSERT_EQ(latency->Options().size(), 8u);
    EXPECT_EQ(latency->Options().back().second, L"> 70ns");
    Answer(L"Cable_Latency", L"5");
    // Re-evaluated for another reason: the answer stays.
    Answer(L"Orvik_Product_Type", L"1");
    EXPECT_EQ(latency->Value(), L"5");

    Answer(L"Product_Type", L"4");
    EXPECT_EQ(Ids(latency->Options()), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(latency->Options().back().second, L"3000ns");
    EXPECT_EQ(latency->Value(), L"");
    EXPECT_FALSE(sheet.Page(EPage::Cables1).ProductTypeChanged());
}

TEST_F(PageRulesTest, CableTerminationDecidesTheReTimerQuestions) {
    Answer(L"Orvik_Product_Type", L"1");
    Answer(L"Product_Type", L"3");
    EXPECT_EQ(Ids(List(L"Cable_Termination_Type")->Options()), (std::vector<int>{0, 1}));
    Answer(L"Cable_Termination_Type", L"1");
    Answer(L"Product_Type", L"4");
    EXPECT_EQ(Ids(List(L"Cable_Termination_Type")->Options()), (std::vector<int>{2, 3}));
    EXPECT_EQ(Value(L"Cable_Termination_Type"), L"");
    Answer(L"Cable_Termination_Type", L"3");
    EXPECT_TRUE(Available(L"Repeater_Two_Type"));
    EXPECT_TRUE(sheet.HasTab(EPage::Retimer));

    // Three levels down: product type, cable kind, termination, repeater.
    Answer(L"Orvik_Product_Type", L"0");
    EXPECT_FALSE(Available(L"Product_Type"));
    EXPECT_FALSE(Available(L"Cable_Termination_Type"));
    EXPECT_FALSE(Available(L"Repeater_Two_Type"));
    EXPECT_FALSE(sheet.HasTab(EPage::Retimer));
}

// ---- rules that need their own tab ----

TEST_F(PageRulesTest, RulesOutsideTheirTabRefuseOrStayUnasked) {
    CPulldownListField stateMachine(nullptr, nullptr,
                                    ProgramRules()->RecordFor(EGroupType::Page, L"^Type_C_State_Machine$"));
    stateMachine.SetOptions({{0, L"SRC"}, {1, L"SNK"}, {2, L"DRP"}});
    stateMachine.SetValue(L"2");
    CYesNoPulldownListField debugSource(
        nullptr, nullptr, ProgramRules()->RecordFor(EGroupType::Page, L"^Type_C_Is_Debug_Target_SRC$"));
    CPulldownListField rpValue(nullptr, nullptr, ProgramRules()->RecordFor(EGroupType::Page, L"^RP_Value$"));
    debugSource.AddParent(&stateMachine);
    rpValue.AddParent(&stateMachine);
    EXPECT_TRUE(rpValue.Rule().availability(&rpValue));
    EXPECT_FALSE(debugSource.Rule().availability(&debugSource));

    CYesNoPulldownListField host(nullptr, nullptr,
                                 ProgramRules()->RecordFor(EGroupType::Page, L"^Type_C_Can_Act_As_Host$"));
    host.SetValue(L"YES");
    EXPECT_EQ(ErrorOf([&] { host.Rule().validity(&host); }),
              L"Couldn't get parent window for const field ^Type_C_Can_Act_As_Host$.");
    CNumEditField hubPort(nullptr, nullptr, ProgramRules()->RecordFor(EGroupType::Page, L"^Hub_Port_Number$"),
                          0, 0, 1, L"");
    EXPECT_EQ(ErrorOf([&] { hubPort.Rule().onAvailable(&hubPort); }),
              L"Couldn't get parent window for field ^Hub_Port_Number$.");
    EXPECT_EQ(ErrorOf([&] { hubPort.Rule().onAvailable(nullptr); }), L"CParameterField arg is NULL.");
}

TEST_F(PageRulesTest, AFullWalkThroughAPortLogsNoRuleFailure) {
    DiscoverableDevice();
    Answer(L"Port_Battery_Powered", L"YES");
    Answer(L"PD_Specification_Revision", L"2");
    Answer(L"Type_C_Is_Alt_Mode_Adapter", L"YES");
    Answer(L"Type_C_Port_On_Hub", L"NO");
    Answer(L"Device_Speed", L"1");
    Answer(L"Device_Truncates_DP_for_tDHPResponse", L"YES");
    sheet.Reevaluate(0, {.initial = true, .fullReset = true});
    EXPECT_TRUE(log.Lines().empty()) << log.Lines().front();
}

} // namespace
