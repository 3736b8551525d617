#include "catalog/PageActions.h"
#include "catalog/PageCatalog.h"
#include "catalog/RuleTable.h"
#include "model/Errors.h"
#include "model/FieldKinds.h"
#include "model/FieldNames.h"
#include "model/FieldValues.h"
#include "model/PageContext.h"
#include "model/Predicates.h"
#include "model/WndWrapper.h"
#include "text/Text.h"

#include <cstdint>
#include <string>
#include <utility>

using namespace pagerules;

void AddPageFieldRules(CRuleGroup& group) {
    const SSharedConditions& c = SharedConditions();
    const FieldPredicate always;
    const FieldPredicate byKind;
    const FieldAction none;

    const FieldPredicate typeC = IsParentConnectorType(CT_TYPE_C);
    const FieldPredicate hostSpeedKnownAbove2 = IsValidButNotParentValue<EUSB32Speed>(kHostSpeed, USB_2);
    const FieldPredicate hostSpeedGen1 =
        IsParentValue<EUSB32Speed>(kHostSpeed, {USB_32_GEN1X1, USB_32_GEN2X1, USB_32_GEN1X2, USB_32_GEN2X2});
    const FieldPredicate hostSpeedGen2 =
        IsParentValue<EUSB32Speed>(kHostSpeed, {USB_32_GEN2X1, USB_32_GEN2X2});
    const FieldPredicate deviceSpeedKnownAbove2 = IsValidButNotParentValue<EUSB32Speed>(kDeviceSpeed, USB_2);
    const FieldPredicate deviceSpeedGen1 = IsParentValue<EUSB32Speed>(
        kDeviceSpeed, {USB_32_GEN1X1, USB_32_GEN2X1, USB_32_GEN1X2, USB_32_GEN2X2});
    const FieldPredicate deviceSpeedGen2 =
        IsParentValue<EUSB32Speed>(kDeviceSpeed, {USB_32_GEN2X1, USB_32_GEN2X2});
    const FieldPredicate ganged = IsParentValue<EPortSourcePowerType>(kSourcePowerType, PSPT_GANGED);
    const FieldPredicate ama = IsParentValue<EProductType>(kUfpProductType, PT_AMA);
    const FieldPredicate bothEndsActive = IsParentValue<ECableTermType>(kTermination, CTT_BOTH_ACTIVE_VCONN);

    const FieldPredicate pdSupportAsked =
        And(IsValidButParentOrvikProductTypeNot(), Or(c.cable, IsValidParentConnectorType()));
    const FieldPredicate stateMachineAsked =
        And(typeC, Or(IsParentValidValue(kPortType), IsParentYNNo(kPdSupport)));
    const FieldPredicate bc12Asked =
        And(c.port, IsParentValidValue(kConnector), Or(c.typeCKnown, IsValidButParentConnectorTypeNot()),
            IsParentValidValue(kBatteryPowered));

    const FieldAction steerDfpSwap = SteerDataRoleSwap(kCanHost, kCanDevice, kAltController, TCSM_SNK);
    const FieldAction steerUfpSwap = SteerDataRoleSwap(kCanDevice, kCanHost, kAltAdapter, TCSM_SRC);

    // clang-format off
    const CRuleRecord records[] = {
        // Field                                          Availability                                                           Validity                              On available                          Refresh
        {L"^\\$Orvik_Specification$",                     always,                                                                byKind,                               none,                                 none},
        {L"^\\$Orvik_Producer$",                          always,                                                                byKind,                               none,                                 none},
        {L"^\\$Vendor_Name$",                             always,                                                                byKind,                               none,                                 none},
        {L"^\\$Model_Part_Number$",                       always,                                                                byKind,                               none,                                 none},
        {L"^\\$Product_Revision$",                        always,                                                                byKind,                               none,                                 none},
        {L"^\\$TID$",                                     always,                                                                byKind,                               none,                                 none},
        {L"^Orvik_Product_Type$",                         always,                                                                byKind,                               none,                                 none},
        {L"^\\$Port_Label$",                              c.port,                                                                byKind,                               none,                                 none},
        {L"^Connector_Type$",                             c.port,                                                                byKind,                               none,                                 none},
        {L"^USB_PD_Support$",                             pdSupportAsked,                                                        byKind,                               SteerPdSupport,                       none},
        {L"^PD_Port_Type$",                               And(c.pd, c.port),                                                     byKind,                               none,                                 none},
        {L"^Type_C_State_Machine$",                       stateMachineAsked,                                                     byKind,                               OfferStateMachines,                   none},
        {L"^Port_Battery_Powered$",                       c.port,                                                                byKind,                               none,                                 none},
        {L"^BC_1_2_Support$",                             bc12Asked,                                                             byKind,                               OfferBc12Roles,                       none},
        {L"^PD_Specification_Revision$",                  c.pd,                                                                  byKind,                               none,                                 none},
        {L"^SOP_Capable$",                                c.pd,                                                                  byKind,                               ForbidSopWithoutPd,                   none},
        {L"^SOP_P_Capable$",                              c.pd,                                                                  byKind,                               none,                                 none},
        {L"^SOP_PP_Capable$",                             c.pd,                                                                  byKind,                               FollowSopPCapable,                    none},
        {L"^SOP_P_Debug_Capable$",                        c.pd,                                                                  byKind,                               none,                                 none},
        {L"^SOP_PP_Debug_Capable$",                       c.pd,                                                                  byKind,                               none,                                 none},
        {L"^Security_Msgs_Supported_SOP$",                And(c.pd, c.pd30, c.notCable),                                         byKind,                               none,                                 none},
        {L"^USB_Comms_Capable$",                          And(c.pd, c.notCable),                                                 byKind,                               none,                                 none},
        {L"^DR_Swap_To_DFP_Supported$",                   And(c.pd, c.notCable),                                                 byKind,                               steerDfpSwap,                         none},
        {L"^DR_Swap_To_UFP_Supported$",                   And(c.pd, c.notCable),                                                 byKind,                               steerUfpSwap,                         none},
        {L"^Unconstrained_Power$",                        And(c.pd, c.notCable),                                                 byKind,                               none,                                 none},
        {L"^VCONN_Swap_To_On_Supported$",                 And(c.pd, c.notCable),                                                 byKind,                               none,                                 none},
        {L"^VCONN_Swap_To_Off_Supported$",                And(c.pd, c.notCable),                                                 byKind,                               ForceYesWhile(kSourcesVconn),         none},
        {L"^Responds_To_Discov_SOP_UFP$",                 And(c.pd, c.notCable),                                                 byKind,                               none,                                 none},
        {L"^Responds_To_Discov_SOP_DFP$",                 And(c.pd, c.notCable),                                                 byKind,                               none,                                 none},
        {L"^Attempts_Discov_SOP$",                        And(c.pd, c.notCable),                                                 byKind,                               none,                                 none},
        {L"^Chunking_Implemented_SOP$",                   c.portPd30,                                                            byKind,                               none,                                 none},
        {L"^Unchunked_Extended_Messages_Supported$",      c.portPd30,                                                            byKind,                               none,                                 none},
        {L"^Manufacturer_Info_Supported_Port$",           c.portPd30,                                                            byKind,                               none,                                 none},
        {L"^Manufacturer_Info_VID_Port$",                 IsParentYNYes(kMfrInfoPort),                                           byKind,                               none,                                 none},
        {L"^Manufacturer_Info_PID_Port$",                 IsParentYNYes(kMfrInfoPort),                                           byKind,                               none,                                 none},
        {L"^Num_Fixed_Batteries$",                        c.portPd30,                                                            BatteryCountCheck(kBatterySlots),     none,                                 none},
        {L"^Num_Swappable_Battery_Slots$",                c.portPd30,                                                            BatteryCountCheck(kFixedBatteries),   none,                                 none},
        {L"^Type_C_Implements_Try_SRC$",                  And(c.typeCKnown, IsTypeCDrp),                                         TryCheck(kTrySnk),                    none,                                 none},
        {L"^Type_C_Implements_Try_SNK$",                  And(c.typeCKnown, IsTypeCDrp),                                         TryCheck(kTrySrc),                    none,                                 none},
        {L"^RP_Value$",                                   And(c.typeCKnown, IsTypeCSourceSide),                                  byKind,                               none,                                 none},
        {L"^Type_C_Supports_VCONN_Powered_Accessory$",    And(c.typeCKnown, IsConsumerOnlySinkOnTypeCPage),                      byKind,                               none,                                 none},
        {L"^Type_C_Is_VCONN_Powered_Accessory$",          And(c.typeCKnown, IsNotProviderOnly),                                  byKind,                               none,                                 none},
        {L"^Type_C_Is_Debug_Target_SRC$",                 And(c.typeCKnown, IsTypeCSourceSideOnTypeCPage),                       byKind,                               none,                                 none},
        {L"^Type_C_Is_Debug_Target_SNK$",                 And(c.typeCKnown, IsTypeCSinkSideOnTypeCPage),                         byKind,                               none,                                 none},
        {L"^Type_C_Can_Act_As_Host$",                     c.typeCKnown,                                                          RoleCheck(kCanDevice),                ForbidImpossibleDataRole(TCSM_SNK),   none},
        {L"^Type_C_Can_Act_As_Device$",                   c.typeCKnown,                                                          RoleCheck(kCanHost),                  ForbidImpossibleDataRole(TCSM_SRC),   none},
        {L"^Type_C_Is_Alt_Mode_Controller$",              And(c.typeCKnown, c.pd, typeC),                                        byKind,                               none,                                 none},
        {L"^Type_C_Is_Alt_Mode_Adapter$",                 And(c.typeCKnown, typeC, c.pd),                                        byKind,                               AllowAltModeAdapterWhenDiscoverable,  none},
        {L"^Type_C_Supports_Audio_Accessory$",            And(c.typeCKnown, typeC),                                              byKind,                               none,                                 none},
        {L"^Captive_Cable$",                              And(c.typeCKnown, typeC),                                              byKind,                               none,                                 none},
        {L"^Type_C_Port_On_Hub$",                         And(c.typeCKnown, typeC),                                              byKind,                               none,                                 none},
        {L"^Type_C_Power_Source$",                        And(c.typeCKnown, typeC),                                              byKind,                               none,                                 none},
        {L"^Type_C_Sources_VCONN$",                       And(c.typeCKnown, typeC),                                              byKind,                               ForceYesWhile(kVconnSwapOn),          none},
        {L"^Product_Total_Source_Power$",                 c.sourcePower,                                                         byKind,                               none,                                 none},
        {L"^Port_Source_Power_Type$",                     c.sourcePower,                                                         byKind,                               none,                                 none},
        {L"^\\$Port_Source_Power_Gang$",                  And(c.sourcePower, ganged),                                            byKind,                               none,                                 none},
        {L"^BC_1_2_Charging_Port_Type$",                  IsParentValue<EBC12Support>(kBc12, {BC12_CHARGING_PORT, BC12_BOTH}),   byKind,                               none,                                 none},
        {L"^Host_Speed$",                                 c.hostSide,                                                            byKind,                               none,                                 none},
        {L"^Host_Contains_Captive_Retimer$",              c.hostSide,                                                            byKind,                               none,                                 none},
        {L"^Host_Truncates_DP_for_tDHPResponse$",         And(c.hostSide, hostSpeedKnownAbove2),                                 byKind,                               none,                                 none},
        {L"^Host_Gen1x1_tLinkTurnaround$",                And(c.hostSide, hostSpeedGen1, IsParentYNYes(kHostTruncates)),         byKind,                               none,                                 none},
        {L"^Host_Gen2x1_tLinkTurnaround$",                And(c.hostSide, hostSpeedGen2, IsParentYNYes(kHostTruncates)),         byKind,                               none,                                 none},
        {L"^Host_Is_Embedded$",                           c.hostSide,                                                            byKind,                               none,                                 none},
        {L"^Host_Suspend_Supported$",                     And(c.hostSide, IsParentYNValid(kHostEmbedded)),                       byKind,                               SteerHostSuspend,                     none},
        {L"^Is_DFP_On_Hub$",                              c.hostSide,                                                            byKind,                               FollowPortOnHub,                      none},
        {L"^Hub_Port_Number$",                            And(c.hostSide, IsParentYNYes(kDfpOnHub)),                             byKind,                               RangeHubPortNumber,                   none},
        {L"^Device_Speed$",                               c.deviceSide,                                                          byKind,                               none,                                 none},
        {L"^Device_Contains_Captive_Retimer$",            c.deviceSide,                                                          byKind,                               none,                                 none},
        {L"^Device_Truncates_DP_for_tDHPResponse$",       And(c.deviceSide, deviceSpeedKnownAbove2),                             byKind,                               none,                                 none},
        {L"^Device_Gen1x1_tLinkTurnaround$",              And(c.deviceSide, deviceSpeedGen1, IsParentYNYes(kDeviceTruncates)),   byKind,                               none,                                 none},
        {L"^Device_Gen2x1_tLinkTurnaround$",              And(c.deviceSide, deviceSpeedGen2, IsParentYNYes(kDeviceTruncates)),   byKind,                               none,                                 none},
        {L"^PD_Power_as_Source$",                         c.pdSource,                                                            PowerCheck,                           UsePowerInMilliwatts,                 none},
        {L"^USB_Suspend_May_Be_Cleared$",                 c.pdSource,                                                            byKind,                               none,                                 none},
        {L"^Sends_Pings$",                                c.pdSource,                                                            byKind,                               none,                                 none},
        {L"^FR_Swap_Supported_As_Source$",                And(c.pdSource, c.pd30),                                               byKind,                               none,                                 none},
        {L"^PD_OC_Protection$",                           c.pdSource,                                                            byKind,                               none,                                 none},
        {L"^PD_OCP_Method$",                              And(c.pdSource, IsParentYNYes(kOcProtection)),                         byKind,                               none,                                 none},
        {L"^Num_Src_PDOs$",                               c.pdSource,                                                            byKind,                               none,                                 none},
        {L"^PD_Power_as_Sink$",                           c.pdSink,                                                              PowerCheck,                           UsePowerInMilliwatts,                 none},
        {L"^No_USB_Suspend_May_Be_Set$",                  c.pdSink,                                                              byKind,                               none,                                 none},
        {L"^GiveBack_May_Be_Set$",                        c.pdSink,                                                              byKind,                               none,                                 none},
        {L"^Higher_Capability_Set$",                      c.pdSink,                                                              byKind,                               none,                                 none},
        {L"^FR_Swap_Reqd_Type_C_Current$",                And(c.pdSink, c.pd30),                                                 byKind,                               none,                                 none},
        {L"^Num_Snk_PDOs$",                               c.pdSink,                                                              byKind,                               none,                                 none},
        {L"^Accepts_PR_Swap_As_Src$",                     c.pdDualRole,                                                          byKind,                               none,                                 none},
        {L"^Accepts_PR_Swap_As_Snk$",                     c.pdDualRole,                                                          byKind,                               none,                                 none},
        {L"^Requests_PR_Swap_As_Src$",                    c.pdDualRole,                                                          byKind,                               none,                                 none},
        {L"^Requests_PR_Swap_As_Snk$",                    c.pdDualRole,                                                          byKind,                               none,                                 none},
        {L"^XID_SOP$",                                    c.discovery,                                                           byKind,                               none,                                 none},
        {L"^Data_Capable_as_USB_Host_SOP$",               And(c.discovery, IsParentYNValid(kCanHost)),                           byKind,                               ForceToParent(kCanHost),              none},
        {L"^Data_Capable_as_USB_Device_SOP$",             And(c.discovery, IsParentYNValid(kCanDevice)),                         byKind,                               ForceToParent(kCanDevice),            none},
        {L"^Product_Type_UFP_SOP$",                       c.discovery,                                                           byKind,                               OfferUfpProductTypes,                 none},
        {L"^Product_Type_DFP_SOP$",                       And(c.discovery, c.pd30),                                              byKind,                               OfferDfpProductTypes,                 OfferDfpProductTypes},
        {L"^Modal_Operation_Supported_SOP$",              c.discovery,                                                           byKind,                               none,                                 none},
        {L"^USB_VID_SOP$",                                c.discovery,                                                           byKind,                               none,                                 none},
        {L"^PID_SOP$",                                    c.discovery,                                                           byKind,                               none,                                 none},
        {L"^bcdDevice_SOP$",                              c.discovery,                                                           byKind,                               none,                                 none},
        {L"^SVID_fixed_SOP$",                             IsParentYNYes(kModalSop),                                              byKind,                               none,                                 none},
        {L"^Num_SVIDs_min_SOP$",                          IsParentYNYes(kModalSop),                                              byKind,                               none,                                 none},
        {L"^Num_SVIDs_max_SOP$",                          IsParentYNYes(kModalSop),                                              byKind,                               none,                                 none},
        {L"^AMA_HW_Vers$",                                ama,                                                                   byKind,                               none,                                 none},
        {L"^AMA_FW_Vers$",                                ama,                                                                   byKind,                               none,                                 none},
        {L"^AMA_VCONN_reqd$",                             ama,                                                                   byKind,                               none,                                 none},
        {L"^AMA_VCONN_power$",                            IsParentYNYes(kAmaVconn),                                              byKind,                               none,                                 none},
        {L"^AMA_VBUS_reqd$",                              ama,                                                                   byKind,                               none,                                 none},
        {L"^AMA_Superspeed_Support$",                     ama,                                                                   byKind,                               none,                                 none},
        {L"^XID$",                                        c.cable,                                                               byKind,                               none,                                 none},
        {L"^Data_Capable_as_USB_Host$",                   c.cable,                                                               byKind,                               none,                                 none},
        {L"^Data_Capable_as_USB_Device$",                 c.cable,                                                               byKind,                               none,                                 none},
        {L"^Product_Type$",                               c.cable,                                                               byKind,                               none,                                 none},
        {L"^Modal_Operation_Supported$",                  c.cable,                                                               byKind,                               none,                                 none},
        {L"^USB_VID$",                                    c.cable,                                                               byKind,                               none,                                 none},
        {L"^PID$",                                        c.cable,                                                               byKind,                               none,                                 none},
        {L"^bcdDevice$",                                  c.cable,                                                               byKind,                               none,                                 none},
        {L"^Cable_HW_Vers$",                              c.cable,                                                               byKind,                               none,                                 none},
        {L"^Cable_FW_Vers$",                              c.cable,                                                               byKind,                               none,                                 none},
        {L"^Type_C_to_Type_A_B_C$",                       c.cable,                                                               byKind,                               none,                                 none},
        {L"^Type_C_to_Type_C_Capt_Vdm_V2$",               And(c.pd30, c.cable),                                                  byKind,                               none,                                 none},
        {L"^Type_C_to_Plug_Receptacle$",                  c.cable,                                                               byKind,                               none,                                 none},
        {L"^Cable_Latency$",                              IsParentValidValue(kCableProductType),                                 byKind,                               OfferCableLatencies,                  none},
        {L"^Cable_Termination_Type$",                     IsParentValidValue(kCableProductType),                                 byKind,                               OfferTerminations,                    none},
        {L"^VBUS_through_cable$",                         c.cable,                                                               byKind,                               none,                                 none},
        {L"^Cable_VBUS_Current$",                         IsParentYNYes(kVbusThroughCable),                                      byKind,                               none,                                 none},
        {L"^Cable_SOP''_controller$",                     c.cable,                                                               byKind,                               none,                                 none},
        {L"^Cable_Superspeed_Support$",                   c.cable,                                                               byKind,                               none,                                 none},
        {L"^Max_VBUS_Voltage_Vdm_V2$",                    And(c.pd30, c.cable),                                                  byKind,                               none,                                 none},
        {L"^Manufacturer_Info_Supported$",                c.cablePd30,                                                           byKind,                               none,                                 none},
        {L"^Manufacturer_Info_VID$",                      IsParentYNYes(kMfrInfoCable),                                          byKind,                               none,                                 none},
        {L"^Manufacturer_Info_PID$",                      IsParentYNYes(kMfrInfoCable),                                          byKind,                               none,                                 none},
        {L"^Chunking_Implemented$",                       c.cablePd30,                                                           byKind,                               none,                                 none},
        {L"^Security_Msgs_Supported$",                    c.cablePd30,                                                           byKind,                               none,                                 none},
        {L"^SVID_fixed$",                                 IsParentYNYes(kModalCable),                                            byKind,                               none,                                 none},
        {L"^Cable_num_SVIDs_min$",                        IsParentYNYes(kModalCable),                                            byKind,                               none,                                 none},
        {L"^Cable_num_SVIDs_max$",                        IsParentYNYes(kModalCable),                                            byKind,                               none,                                 none},
        {L"^ReTimer_Type$",                               Or(IsParentOrvikProductType(OPT_RETIMER), bothEndsActive),             byKind,                               none,                                 none},
        {L"^Repeater_Two_Type$",                          bothEndsActive,                                                        byKind,                               none,                                 none},
    };
    // clang-format on

    for (const CRuleRecord& record : records) {
        group.Add(record);
    }
}
