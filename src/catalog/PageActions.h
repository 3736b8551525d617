#pragma once

#include "catalog/PageCatalog.h"
#include "model/FieldNames.h"
#include "model/FieldValues.h"
#include "model/ParameterField.h"
#include "model/Predicates.h"

// The conditions, checks and actions of the page fields' rules, which the rule table names row by
// row.
namespace pagerules {

// The fields whose answers the page rules read.
inline constexpr CFieldName kStateMachine = L"Type_C_State_Machine";
inline constexpr CFieldName kSopP = L"SOP_P_Capable";
inline constexpr CFieldName kVconnSwapOn = L"VCONN_Swap_To_On_Supported";
inline constexpr CFieldName kDiscovUfp = L"Responds_To_Discov_SOP_UFP";
inline constexpr CFieldName kDiscovDfp = L"Responds_To_Discov_SOP_DFP";
inline constexpr CFieldName kMfrInfoPort = L"Manufacturer_Info_Supported_Port";
inline constexpr CFieldName kFixedBatteries = L"Num_Fixed_Batteries";
inline constexpr CFieldName kBatterySlots = L"Num_Swappable_Battery_Slots";
inline constexpr CFieldName kAltController = L"Type_C_Is_Alt_Mode_Controller";
inline constexpr CFieldName kPortOnHub = L"Type_C_Port_On_Hub";
inline constexpr CFieldName kSourcesVconn = L"Type_C_Sources_VCONN";
inline constexpr CFieldName kSourcePowerType = L"Port_Source_Power_Type";
inline constexpr CFieldName kHostTruncates = L"Host_Truncates_DP_for_tDHPResponse";
inline constexpr CFieldName kHostEmbedded = L"Host_Is_Embedded";
inline constexpr CFieldName kDfpOnHub = L"Is_DFP_On_Hub";
inline constexpr CFieldName kDeviceTruncates = L"Device_Truncates_DP_for_tDHPResponse";
inline constexpr CFieldName kOcProtection = L"PD_OC_Protection";
inline constexpr CFieldName kAmaVconn = L"AMA_VCONN_reqd";
inline constexpr CFieldName kCableProductType = L"Product_Type";
inline constexpr CFieldName kVbusThroughCable = L"VBUS_through_cable";
inline constexpr CFieldName kMfrInfoCable = L"Manufacturer_Info_Supported";
inline constexpr CFieldName kTermination = L"Cable_Termination_Type";

FieldPredicate And(FieldPredicate first, FieldPredicate second);

FieldPredicate And(FieldPredicate first, FieldPredicate second, FieldPredicate third);

FieldPredicate And(FieldPredicate first, FieldPredicate second, FieldPredicate third, FieldPredicate fourth);

FieldPredicate Or(FieldPredicate first, FieldPredicate second);

extern const FieldPredicate IsPortPd30;

extern const FieldPredicate IsCablePd30;

extern const FieldPredicate IsTypeCDrp;

extern const FieldPredicate IsTypeCSourceSide;

extern const FieldPredicate IsNotProviderOnly;

extern const FieldPredicate IsTypeCSourceSideOnTypeCPage;

extern const FieldPredicate IsTypeCSinkSideOnTypeCPage;

extern const FieldPredicate IsConsumerOnlySinkOnTypeCPage;

// A battery-powered port declares at least one battery or battery slot.
FieldPredicate BatteryCountCheck(const wchar_t* partnerName);

// A port cannot try to be both source and sink.
FieldPredicate TryCheck(const wchar_t* partnerName);

// A port capable of USB communication acts as host or device; one that is not acts as neither.
FieldPredicate RoleCheck(const wchar_t* partnerName);

// PD Power comes in 500 mW steps up to 10 W and in whole watts above.
extern const FieldPredicate PowerCheck;

extern const FieldAction SteerPdSupport;

// Every choice of a list an action builds; the action offers those the other answers allow. A
// cable's latencies have none: the ids mean other latencies for an active cable than a passive one.
const COptionList& StateMachineChoices();
const COptionList& Bc12RoleChoices();
const COptionList& UfpProductTypeChoices();
const COptionList& DfpProductTypeChoices();
const COptionList& TerminationChoices();

extern const FieldAction OfferStateMachines;

extern const FieldAction OfferBc12Roles;

extern const FieldAction ForbidSopWithoutPd;

extern const FieldAction FollowSopPCapable;

// A port that can only take one data role, or must take it for its alternate mode, accepts the
// swap to that role.
FieldAction SteerDataRoleSwap(const wchar_t* ownRole, const wchar_t* otherRole, const wchar_t* altMode,
                              ETypeCStateMachine roleState);

// Forced YES while the parent reads YES, editable otherwise.
FieldAction ForceYesWhile(const wchar_t* parentName);

// No USB communication means neither data role; a sink-only port is no host, a source-only port
// no device.
FieldAction ForbidImpossibleDataRole(ETypeCStateMachine excludingState);

extern const FieldAction AllowAltModeAdapterWhenDiscoverable;

extern const FieldAction SteerHostSuspend;

extern const FieldAction FollowPortOnHub;

// USB 2 hubs address up to 255 ports, SuperSpeed hubs up to 15.
extern const FieldAction RangeHubPortNumber;

extern const FieldAction UsePowerInMilliwatts;

FieldAction ForceToParent(const wchar_t* parentName);

extern const FieldAction OfferUfpProductTypes;

extern const FieldAction OfferDfpProductTypes;

extern const FieldAction OfferCableLatencies;

extern const FieldAction OfferTerminations;

// The conditions and actions several records share, built once.
struct SSharedConditions {
    FieldPredicate pd = IsParentYNYes(fieldname::kUsbPdSupport);
    FieldPredicate notCable = IsNotParentOrvikProductType();
    FieldPredicate cable = IsParentOrvikProductType(OPT_CABLE);
    FieldPredicate port = IsParentOrvikProductType(OPT_PORT);
    FieldPredicate pd30 = IsParentValue<EPDSpecVersion>(fieldname::kPdSpecificationRevision, PDREV_30);
    FieldPredicate typeCKnown = IsParentValidValue(kStateMachine);
    FieldPredicate hostSide = Or(IsParentConnectorType(CT_TYPE_A), IsParentYNYes(fieldname::kCanActAsHost));
    FieldPredicate deviceSide =
        Or(IsParentConnectorType(CT_TYPE_B), IsParentYNYes(fieldname::kCanActAsDevice));
    FieldPredicate sourcePower =
        Or(IsParentConnectorType(CT_TYPE_A),
           And(IsParentConnectorType(CT_TYPE_C),
               IsParentValue<ETypeCStateMachine>(kStateMachine, {TCSM_SRC, TCSM_DRP})));
    FieldPredicate pdSource =
        IsParentPDPortType({PPT_CONSUMER_PROVIDER, PPT_PROVIDER_CONSUMER, PPT_PROVIDER_ONLY, PPT_DRP});
    FieldPredicate pdSink =
        IsParentPDPortType({PPT_CONSUMER_ONLY, PPT_CONSUMER_PROVIDER, PPT_PROVIDER_CONSUMER, PPT_DRP});
    FieldPredicate pdDualRole = IsParentPDPortType({PPT_CONSUMER_PROVIDER, PPT_PROVIDER_CONSUMER, PPT_DRP});
    FieldPredicate discovery = Or(IsParentYNYes(kDiscovDfp), IsParentYNYes(kDiscovUfp));
    FieldPredicate portPd30 = IsPortPd30;
    FieldPredicate cablePd30 = IsCablePd30;
    FieldPredicate typeC = IsParentConnectorType(CT_TYPE_C);
    FieldPredicate hostSpeedKnownAbove2 = IsValidButNotParentValue<EUSB32Speed>(fieldname::kHostSpeed, USB_2);
    FieldPredicate hostSpeedGen1 = IsParentValue<EUSB32Speed>(
        fieldname::kHostSpeed, {USB_32_GEN1X1, USB_32_GEN2X1, USB_32_GEN1X2, USB_32_GEN2X2});
    FieldPredicate hostSpeedGen2 =
        IsParentValue<EUSB32Speed>(fieldname::kHostSpeed, {USB_32_GEN2X1, USB_32_GEN2X2});
    FieldPredicate deviceSpeedKnownAbove2 =
        IsValidButNotParentValue<EUSB32Speed>(fieldname::kDeviceSpeed, USB_2);
    FieldPredicate deviceSpeedGen1 = IsParentValue<EUSB32Speed>(
        fieldname::kDeviceSpeed, {USB_32_GEN1X1, USB_32_GEN2X1, USB_32_GEN1X2, USB_32_GEN2X2});
    FieldPredicate deviceSpeedGen2 =
        IsParentValue<EUSB32Speed>(fieldname::kDeviceSpeed, {USB_32_GEN2X1, USB_32_GEN2X2});
    FieldPredicate ganged = IsParentValue<EPortSourcePowerType>(kSourcePowerType, PSPT_GANGED);
    FieldPredicate ama = IsParentValue<EProductType>(fieldname::kProductTypeUfpSop, PT_AMA);
    FieldPredicate bothEndsActive = IsParentValue<ECableTermType>(kTermination, CTT_BOTH_ACTIVE_VCONN);
    FieldPredicate pdSupportAsked =
        And(IsValidButParentOrvikProductTypeNot(), Or(cable, IsValidParentConnectorType()));
    FieldPredicate stateMachineAsked =
        And(typeC, Or(IsParentValidValue(fieldname::kPdPortType), IsParentYNNo(fieldname::kUsbPdSupport)));
    FieldPredicate bc12Asked = And(port, IsParentValidValue(fieldname::kConnectorType),
                                   Or(typeCKnown, IsValidButParentConnectorTypeNot()),
                                   IsParentValidValue(fieldname::kPortBatteryPowered));
    FieldAction steerDfpSwap =
        SteerDataRoleSwap(fieldname::kCanActAsHost, fieldname::kCanActAsDevice, kAltController, TCSM_SNK);
    FieldAction steerUfpSwap = SteerDataRoleSwap(fieldname::kCanActAsDevice, fieldname::kCanActAsHost,
                                                 fieldname::kAltModeAdapter, TCSM_SRC);
};

const SSharedConditions& SharedConditions();

} // namespace pagerules
