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
inline const wchar_t* const kProductType = fieldname::kOrvikProductType;
inline const wchar_t* const kConnector = fieldname::kConnectorType;
inline const wchar_t* const kPdSupport = fieldname::kUsbPdSupport;
inline const wchar_t* const kPortType = fieldname::kPdPortType;
inline const wchar_t* const kStateMachine = L"^Type_C_State_Machine$";
inline const wchar_t* const kBatteryPowered = fieldname::kPortBatteryPowered;
inline const wchar_t* const kBc12 = fieldname::kBc12Support;
inline const wchar_t* const kPdRevision = fieldname::kPdSpecificationRevision;
inline const wchar_t* const kSopP = L"^SOP_P_Capable$";
inline const wchar_t* const kCommsCapable = fieldname::kUsbCommsCapable;
inline const wchar_t* const kVconnSwapOn = L"^VCONN_Swap_To_On_Supported$";
inline const wchar_t* const kDiscovUfp = L"^Responds_To_Discov_SOP_UFP$";
inline const wchar_t* const kDiscovDfp = L"^Responds_To_Discov_SOP_DFP$";
inline const wchar_t* const kMfrInfoPort = L"^Manufacturer_Info_Supported_Port$";
inline const wchar_t* const kFixedBatteries = L"^Num_Fixed_Batteries$";
inline const wchar_t* const kBatterySlots = L"^Num_Swappable_Battery_Slots$";
inline const wchar_t* const kTrySrc = fieldname::kTrySrc;
inline const wchar_t* const kTrySnk = fieldname::kTrySnk;
inline const wchar_t* const kCanHost = fieldname::kCanActAsHost;
inline const wchar_t* const kCanDevice = fieldname::kCanActAsDevice;
inline const wchar_t* const kAltController = L"^Type_C_Is_Alt_Mode_Controller$";
inline const wchar_t* const kAltAdapter = fieldname::kAltModeAdapter;
inline const wchar_t* const kPortOnHub = L"^Type_C_Port_On_Hub$";
inline const wchar_t* const kSourcesVconn = L"^Type_C_Sources_VCONN$";
inline const wchar_t* const kSourcePowerType = L"^Port_Source_Power_Type$";
inline const wchar_t* const kHostSpeed = fieldname::kHostSpeed;
inline const wchar_t* const kHostTruncates = L"^Host_Truncates_DP_for_tDHPResponse$";
inline const wchar_t* const kHostEmbedded = L"^Host_Is_Embedded$";
inline const wchar_t* const kDfpOnHub = L"^Is_DFP_On_Hub$";
inline const wchar_t* const kDeviceSpeed = fieldname::kDeviceSpeed;
inline const wchar_t* const kDeviceTruncates = L"^Device_Truncates_DP_for_tDHPResponse$";
inline const wchar_t* const kOcProtection = L"^PD_OC_Protection$";
inline const wchar_t* const kModalSop = L"^Modal_Operation_Supported_SOP$";
inline const wchar_t* const kUfpProductType = fieldname::kProductTypeUfpSop;
inline const wchar_t* const kAmaVconn = L"^AMA_VCONN_reqd$";
inline const wchar_t* const kCableProductType = L"^Product_Type$";
inline const wchar_t* const kVbusThroughCable = L"^VBUS_through_cable$";
inline const wchar_t* const kMfrInfoCable = L"^Manufacturer_Info_Supported$";
inline const wchar_t* const kModalCable = L"^Modal_Operation_Supported$";
inline const wchar_t* const kTermination = L"^Cable_Termination_Type$";

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

// The conditions several records share, built once.
struct SSharedConditions {
    FieldPredicate pd = IsParentYNYes(kPdSupport);
    FieldPredicate notCable = IsNotParentOrvikProductType();
    FieldPredicate cable = IsParentOrvikProductType(OPT_CABLE);
    FieldPredicate port = IsParentOrvikProductType(OPT_PORT);
    FieldPredicate pd30 = IsParentValue<EPDSpecVersion>(kPdRevision, PDREV_30);
    FieldPredicate typeCKnown = IsParentValidValue(kStateMachine);
    FieldPredicate hostSide = Or(IsParentConnectorType(CT_TYPE_A), IsParentYNYes(kCanHost));
    FieldPredicate deviceSide = Or(IsParentConnectorType(CT_TYPE_B), IsParentYNYes(kCanDevice));
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
};

const SSharedConditions& SharedConditions();

} // namespace pagerules
