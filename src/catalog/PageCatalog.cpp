#include "catalog/PageCatalog.h"
#include "catalog/PageActions.h"
#include "text/Version.h"

#include <cstddef>

using namespace pagerules;

namespace {

// clang-format off

// The rule columns' defaults: always asked, valid when the kind accepts the answer, no action.
const FieldPredicate always;
const FieldPredicate byKind;
const FieldAction none;


// A pull-down whose list an action builds from other answers starts with no choices.
const COptionList kFilledByAction = {};

// A PD Power is stated in the steps the power data objects can express.
const wchar_t kPdpNote[] = L"If it is less than 10000, it must be exactly divisible by 500. "
                           L"If it is greater than 10000, it must be exactly divisible by 1000.";

COptionList UsbSpeeds() {
    return {{0, L"USB 2"}, {1, L"USB 3.2 Gen 1x1"}, {2, L"USB 3.2 Gen 2x1"}, {3, L"USB 3.2 Gen 1x2"}, {4, L"USB 3.2 Gen 2x2"}};
}

std::vector<SFieldRow> IntroFields() {
    const SSharedConditions& c = SharedConditions();
    const COptionList kProductTypes = {{0, L"Port"}, {1, L"Cable"}, {2, L"Re-timer"}};
    return MoveRows({
        TextField  (fieldname::kOrvikSpecification,         L"This field cannot be edited by users.")                                                                    .Rule(always, byKind, none, none) .FilledBy(orvik::SpecificationText),
        TextField  (fieldname::kOrvikProducer,              L"The version of the program that wrote this file. This field cannot be edited by users.")                   .Rule(always, byKind, none, none) .FilledBy(orvik::ProducerText),
        TextField  (fieldname::kVendorName,                 L"The name of the vendor, as supplied by the vendor.")                                                       .Rule(always, byKind, none, none),
        TextField  (fieldname::kModelPartNumber,            L"The model part number. It must match the product registration and is used in the output file name.")       .Rule(always, byKind, none, none),
        TextField  (fieldname::kProductRevision,            L"The product revision number. It must match the product registration and is used in the output file name.") .Rule(always, byKind, none, none),
        TextField  (fieldname::kTid,                        L"The test identification number, provided by the certifying organisation.")                                 .Rule(always, byKind, none, none),
        ChoiceField(fieldname::kOrvikProductType, kProductTypes, L"What is the highest-level category of the item under test: a port, a cable or a re-timer?")                .Rule(always, byKind, none, none),
        TextField  (fieldname::kPortLabel,                  L"A label for the port, such as its number or a short description. It must match the label on the product.") .Rule(c.port, byKind, none, none),
    });
}

std::vector<SFieldRow> OrvikProductFields() {
    const SSharedConditions& c = SharedConditions();
    const COptionList kConnectorTypes = {{0, L"Type-A"}, {1, L"Type-B"}, {2, L"USB Type-C\u2122"}};
    const COptionList kPortTypes      = {{0, L"Consumer Only"}, {1, L"Consumer/Provider"}, {2, L"Provider/Consumer"}, {3, L"Provider Only"}, {4, L"DRP"}};
    return MoveRows({
        ChoiceField(fieldname::kConnectorType, kConnectorTypes, L"What is the connector type of the port?")                                                       .Rule(c.port,              byKind, none,               none),
        YesNoField (fieldname::kUsbPdSupport,                 L"Does the product support USB Power Delivery?")                                                  .Rule(c.pdSupportAsked,    byKind, SteerPdSupport,     none),
        ChoiceField(fieldname::kPdPortType,  kPortTypes,      L"Which power roles can the PD port take, and which one does it take at start-up?")               .Rule(And(c.pd, c.port),   byKind, none,               none),
        ChoiceField(kStateMachine,            kFilledByAction, L"Which USB Type-C connection state machine does the port implement?")                            .Rule(c.stateMachineAsked, byKind, OfferStateMachines, none) .ChoosingAmong(StateMachineChoices()),
        YesNoField (fieldname::kPortBatteryPowered,           L"Can the port be powered by one or more batteries?")                                             .Rule(c.port,              byKind, none,               none),
        ChoiceField(fieldname::kBc12Support, kFilledByAction, L"Does the port support Battery Charging 1.2 as a charging port, as a portable device, or both?") .Rule(c.bc12Asked,         byKind, OfferBc12Roles,     none) .ChoosingAmong(Bc12RoleChoices()),
    });
}

std::vector<SFieldRow> GeneralFields() {
    const SSharedConditions& c = SharedConditions();
    const COptionList kPdRevisions = {{0, L"Revision 2.0"}, {2, L"Revision 3.0"}};
    return MoveRows({
        ChoiceField(fieldname::kPdSpecificationRevision,      kPdRevisions, L"Which version of the PD specification does the UUT comply with?")                          .Rule(c.pd,                          byKind,                             none,                         none),
        YesNoField (L"SOP_Capable",                                         L"Does the UUT support the SOP protocol?")                                                   .Rule(c.pd,                          byKind,                             ForbidSopWithoutPd,           none),
        YesNoField (kSopP,                                                  L"Does the UUT support the SOP' protocol?")                                                  .Rule(c.pd,                          byKind,                             none,                         none),
        YesNoField (L"SOP_PP_Capable",                                      L"Does the UUT support the SOP'' protocol?")                                                 .Rule(c.pd,                          byKind,                             FollowSopPCapable,            none),
        YesNoField (L"SOP_P_Debug_Capable",                                 L"Does the UUT send or receive SOP'_Debug ordered sets?")                                    .Rule(c.pd,                          byKind,                             none,                         none),
        YesNoField (L"SOP_PP_Debug_Capable",                                L"Does the UUT send or receive SOP''_Debug ordered sets?")                                   .Rule(c.pd,                          byKind,                             none,                         none),
        YesNoField (L"Security_Msgs_Supported_SOP",                         L"Does the UUT support security messages on SOP?")                                           .Rule(And(c.pd, c.pd30, c.notCable), byKind,                             none,                         none),
        YesNoField (kMfrInfoPort,                                           L"Does the port support Get_Manufacturer_Info with target 0?")                               .Rule(c.portPd30,                    byKind,                             none,                         none),
        HexField   (L"Manufacturer_Info_VID_Port",            4,            L"The vendor ID reported in the manufacturer info, a 4-digit hexadecimal number.")           .Rule(IsParentYNYes(kMfrInfoPort),   byKind,                             none,                         none),
        HexField   (L"Manufacturer_Info_PID_Port",            4,            L"The product ID reported in the manufacturer info, a 4-digit hexadecimal number.")          .Rule(IsParentYNYes(kMfrInfoPort),   byKind,                             none,                         none),
        NumberField(kFixedBatteries,                          0, 4,         L"Valid values are in the range 0-4")                                                        .Rule(c.portPd30,                    BatteryCountCheck(kBatterySlots),   none,                         none) .EvaluatedAfter(kBatterySlots),
        NumberField(kBatterySlots,                            0, 4,         L"Valid values are in the range 0-4")                                                        .Rule(c.portPd30,                    BatteryCountCheck(kFixedBatteries), none,                         none) .EvaluatedAfter(kFixedBatteries),
        YesNoField (fieldname::kUsbCommsCapable,                            L"Is the UUT capable of enumerating as a USB host or device?")                               .Rule(And(c.pd, c.notCable),         byKind,                             none,                         none),
        YesNoField (L"DR_Swap_To_DFP_Supported",                            L"Does the UUT accept a DR_Swap from UFP to DFP?")                                           .Rule(And(c.pd, c.notCable),         byKind,                             c.steerDfpSwap,               none),
        YesNoField (L"DR_Swap_To_UFP_Supported",                            L"Does the UUT accept a DR_Swap from DFP to UFP?")                                           .Rule(And(c.pd, c.notCable),         byKind,                             c.steerUfpSwap,               none),
        YesNoField (fieldname::kUnconstrainedPower,                         L"Is an external power source available that can power the system while it charges others?") .Rule(And(c.pd, c.notCable),         byKind,                             none,                         none),
        YesNoField (kVconnSwapOn,                                           L"Does the UUT accept a VCONN_Swap to start sourcing VCONN?")                                .Rule(And(c.pd, c.notCable),         byKind,                             none,                         none),
        YesNoField (L"VCONN_Swap_To_Off_Supported",                         L"Does the UUT accept a VCONN_Swap to stop sourcing VCONN?")                                 .Rule(And(c.pd, c.notCable),         byKind,                             ForceYesWhile(kSourcesVconn), none),
        YesNoField (kDiscovUfp,                                             L"Does the UUT respond to Discover Identity on SOP as a UFP?")                               .Rule(And(c.pd, c.notCable),         byKind,                             none,                         none),
        YesNoField (kDiscovDfp,                                             L"Does the UUT respond to Discover Identity on SOP as a DFP?")                               .Rule(And(c.pd, c.notCable),         byKind,                             none,                         none),
        YesNoField (L"Attempts_Discov_SOP",                                 L"Does the UUT attempt Discover Identity on SOP?")                                           .Rule(And(c.pd, c.notCable),         byKind,                             none,                         none),
        YesNoField (L"Chunking_Implemented_SOP",                            L"Does the UUT implement the extended message chunking layer?")                              .Rule(c.portPd30,                    byKind,                             none,                         none),
        YesNoField (L"Unchunked_Extended_Messages_Supported",               L"Does the UUT set the Unchunked Extended Messages Supported bit?")                          .Rule(c.portPd30,                    byKind,                             none,                         none),
    });
}

std::vector<SFieldRow> UsbTypeCFields() {
    const SSharedConditions& c = SharedConditions();
    const COptionList kRpValues     = {{0, L"Default"}, {1, L"1.5A"}, {2, L"3A"}};
    const COptionList kPowerSources = {{0, L"Self-Powered"}, {1, L"Bus-Powered"}, {2, L"Both"}};
    return MoveRows({
        YesNoField (fieldname::kTrySrc,                                        L"Does the UUT support Try.SRC when leaving AttachWait.SNK?")                                            .Rule(And(c.typeCKnown, IsTypeCDrp),                    TryCheck(fieldname::kTrySnk),     none,                                none),
        YesNoField (fieldname::kTrySnk,                                        L"Does the UUT support Try.SNK when leaving AttachWait.SRC?")                                            .Rule(And(c.typeCKnown, IsTypeCDrp),                    TryCheck(fieldname::kTrySrc),     none,                                none),
        ChoiceField(L"RP_Value",                                kRpValues,     L"Which Rp value does the UUT present on connect as a source?")                                          .Rule(And(c.typeCKnown, IsTypeCSourceSide),             byKind,                none,                                none),
        YesNoField (L"Type_C_Supports_VCONN_Powered_Accessory",                L"Does the UUT, when it is not a source, support a VCONN-powered accessory?")                            .Rule(And(c.typeCKnown, IsConsumerOnlySinkOnTypeCPage), byKind,                none,                                none),
        YesNoField (L"Type_C_Is_VCONN_Powered_Accessory",                      L"Is the UUT a VCONN-powered accessory?")                                                                .Rule(And(c.typeCKnown, IsNotProviderOnly),             byKind,                none,                                none),
        YesNoField (L"Type_C_Is_Debug_Target_SRC",                             L"Does the UUT support UnorientedDebugAccessory.SRC, and optionally OrientedDebugAccessory.SRC?")        .Rule(And(c.typeCKnown, IsTypeCSourceSideOnTypeCPage),  byKind,                none,                                none),
        YesNoField (L"Type_C_Is_Debug_Target_SNK",                             L"Does the UUT support DebugAccessory.SNK?")                                                             .Rule(And(c.typeCKnown, IsTypeCSinkSideOnTypeCPage),    byKind,                none,                                none),
        YesNoField (fieldname::kCanActAsHost,                                  L"Can the UUT communicate with USB 2.0 or USB 3.1 as a host or as the downstream facing port of a hub?") .Rule(c.typeCKnown,                                     RoleCheck(fieldname::kCanActAsDevice), ForbidImpossibleDataRole(TCSM_SNK),  none) .EvaluatedAfter(fieldname::kCanActAsDevice),
        YesNoField (fieldname::kCanActAsDevice,                                L"Can the UUT communicate with USB 2.0 or USB 3.1 as a device or as the upstream facing port of a hub?") .Rule(c.typeCKnown,                                     RoleCheck(fieldname::kCanActAsHost),   ForbidImpossibleDataRole(TCSM_SRC),  none),
        YesNoField (kAltController,                                            L"Can the UUT act as an Alternate Mode Controller?")                                                     .Rule(And(c.typeCKnown, c.pd, c.typeC),                 byKind,                none,                                none),
        YesNoField (fieldname::kAltModeAdapter,                                L"Can the UUT act as an Alternate Mode device?")                                                         .Rule(And(c.typeCKnown, c.typeC, c.pd),                 byKind,                AllowAltModeAdapterWhenDiscoverable, none),
        ChoiceField(L"Type_C_Power_Source",                     kPowerSources, L"Is the UUT self-powered, bus-powered, or either?")                                                     .Rule(And(c.typeCKnown, c.typeC),                       byKind,                none,                                none),
        YesNoField (kPortOnHub,                                                L"Is the UUT part of a USB hub?")                                                                        .Rule(And(c.typeCKnown, c.typeC),                       byKind,                none,                                none),
        YesNoField (L"Type_C_Supports_Audio_Accessory",                        L"Does the UUT support an Audio Accessory?")                                                             .Rule(And(c.typeCKnown, c.typeC),                       byKind,                none,                                none),
        YesNoField (L"Captive_Cable",                                          L"Does the UUT have a captive cable?")                                                                   .Rule(And(c.typeCKnown, c.typeC),                       byKind,                none,                                none),
        YesNoField (kSourcesVconn,                                             L"Does the UUT source VCONN?")                                                                           .Rule(And(c.typeCKnown, c.typeC),                       byKind,                ForceYesWhile(kVconnSwapOn),         none),
    });
}

std::vector<SFieldRow> ProductPowerFields() {
    const SSharedConditions& c = SharedConditions();
    const COptionList kSourcePowerTypes = {{0, L"Guaranteed"}, {1, L"Ganged"}};
    return MoveRows({
        NumberField(L"Product_Total_Source_Power", 0, 1000,           L"What is the total source power of the product, in W?", 1, L"W")                                    .Rule(c.sourcePower,                byKind, none, none),
        ChoiceField(kSourcePowerType,              kSourcePowerTypes, L"Does the UUT always advertise all its PDOs, or may it reduce its output as part of a power gang?") .Rule(c.sourcePower,                byKind, none, none),
        TextField  (L"$Port_Source_Power_Gang",                       L"The name of the power gang the UUT belongs to.")                                                   .Rule(And(c.sourcePower, c.ganged), byKind, none, none),
    });
}

std::vector<SFieldRow> UsbHostFields() {
    const SSharedConditions& c = SharedConditions();
    return MoveRows({
        ChoiceField(fieldname::kHostSpeed,                 UsbSpeeds(), L"Which USB speed does the port support as a host?")                      .Rule(c.hostSide,                                                      byKind, none,               none),
        YesNoField (L"Host_Contains_Captive_Retimer",                   L"Does the port have an associated re-timer?")                            .Rule(c.hostSide,                                                      byKind, none,               none),
        YesNoField (kHostTruncates,                                     L"Does the port, as a host, truncate data packets to meet tDHPResponse?") .Rule(And(c.hostSide, c.hostSpeedKnownAbove2),                         byKind, none,               none),
        NumberField(L"Host_Gen1x1_tLinkTurnaround",        400, 1500,   L"Valid values are 400ns - 1500ns.").ShownIn(L"ns")                       .Rule(And(c.hostSide, c.hostSpeedGen1, IsParentYNYes(kHostTruncates)), byKind, none,               none),
        NumberField(L"Host_Gen2x1_tLinkTurnaround",        700, 1500,   L"Valid values are 700ns - 1500ns.").ShownIn(L"ns")                       .Rule(And(c.hostSide, c.hostSpeedGen2, IsParentYNYes(kHostTruncates)), byKind, none,               none),
        YesNoField (kHostEmbedded,                                      L"Does the port belong to an embedded host?")                             .Rule(c.hostSide,                                                      byKind, none,               none),
        YesNoField (L"Host_Suspend_Supported",                          L"Does the embedded host support USB Suspend?")                           .Rule(And(c.hostSide, IsParentYNValid(kHostEmbedded)),                 byKind, SteerHostSuspend,   none),
        YesNoField (kDfpOnHub,                                          L"Is the port the downstream facing port of a hub?")                      .Rule(c.hostSide,                                                      byKind, FollowPortOnHub,    none),
        NumberField(fieldname::kHubPortNumber,             0, 0,        L"What is the number by which USB addresses this port?")                  .Rule(And(c.hostSide, IsParentYNYes(kDfpOnHub)),                       byKind, RangeHubPortNumber, none),
    });
}

std::vector<SFieldRow> UsbDeviceFields() {
    const SSharedConditions& c = SharedConditions();
    return MoveRows({
        ChoiceField(fieldname::kDeviceSpeed,                 UsbSpeeds(), L"Which USB speed does the port support as a device?")                      .Rule(c.deviceSide,                                                          byKind, none, none),
        YesNoField (L"Device_Contains_Captive_Retimer",                   L"Does the port have an associated re-timer?")                              .Rule(c.deviceSide,                                                          byKind, none, none),
        YesNoField (kDeviceTruncates,                                     L"Does the port, as a device, truncate data packets to meet tDHPResponse?") .Rule(And(c.deviceSide, c.deviceSpeedKnownAbove2),                           byKind, none, none),
        NumberField(L"Device_Gen1x1_tLinkTurnaround",        400, 1500,   L"Valid values are 400ns - 1500ns.").ShownIn(L"ns")                         .Rule(And(c.deviceSide, c.deviceSpeedGen1, IsParentYNYes(kDeviceTruncates)), byKind, none, none),
        NumberField(L"Device_Gen2x1_tLinkTurnaround",        700, 1500,   L"Valid values are 700ns - 1500ns.").ShownIn(L"ns")                         .Rule(And(c.deviceSide, c.deviceSpeedGen2, IsParentYNYes(kDeviceTruncates)), byKind, none, none),
    });
}

std::vector<SFieldRow> BC12Fields() {
    const COptionList kChargingPortTypes = {{0, L"DCP"}, {1, L"CDP"}, {2, L"Both"}};
    return MoveRows({
        ChoiceField(L"BC_1_2_Charging_Port_Type", kChargingPortTypes, L"Which BC 1.2 charging capabilities does the port support?") .Rule(IsParentValue<EBC12Support>(fieldname::kBc12Support, {BC12_CHARGING_PORT, BC12_BOTH}), byKind, none, none),
    });
}

std::vector<SFieldRow> SourceFields() {
    const SSharedConditions& c = SharedConditions();
    const COptionList kOcpMethods = {{0, L"Over-Current Response"}, {1, L"Under-Voltage Response"}, {2, L"Both"}};
    return MoveRows({
        NumberField(fieldname::kPdPowerAsSource,    500, 100000, L"What is the PD Power (PDP) of the source-capable device, in mW?", 1, L"mW", kPdpNote)                      .Rule(c.pdSource,                                    PowerCheck, UsePowerInMilliwatts, none),
        YesNoField (L"USB_Suspend_May_Be_Cleared",               L"May the UUT, as a source, clear the USB Suspend Supported bit?")                                           .Rule(c.pdSource,                                    byKind,     none,                 none),
        YesNoField (L"Sends_Pings",                              L"Does the UUT, as a source, send Ping messages?")                                                           .Rule(c.pdSource,                                    byKind,     none,                 none),
        YesNoField (L"FR_Swap_Supported_As_Source",              L"Does the UUT, as a source, support FR_Swap?")                                                              .Rule(And(c.pdSource, c.pd30),                       byKind,     none,                 none),
        YesNoField (kOcProtection,                               L"Does the UUT support over-current protection?")                                                            .Rule(c.pdSource,                                    byKind,     none,                 none),
        ChoiceField(fieldname::kPdOcpMethod,        kOcpMethods, L"Which method does the UUT use to implement over-current protection?")                                      .Rule(And(c.pdSource, IsParentYNYes(kOcProtection)), byKind,     none,                 none),
        NumberField(fieldname::kNumSrcPdos,         1, 7,        L"How many PDOs are in Source_Capabilities? The number must match the number of Source PDOs defined below.") .Rule(c.pdSource,                                    byKind,     none,                 none),
    });
}

std::vector<SFieldRow> SinkFields() {
    const SSharedConditions& c = SharedConditions();
    const COptionList kFrSwapCurrents = {{0, L"FR_Swap not supported"}, {1, L"Default USB Power"}, {2, L"1.5A @ 5V"}, {3, L"3A @ 5V"}};
    return MoveRows({
        NumberField(fieldname::kPdPowerAsSink,      0, 100000,       L"What is the PD Power (PDP) of the sink-capable device, in mW?", 1, L"mW", kPdpNote)                    .Rule(c.pdSink,              PowerCheck, UsePowerInMilliwatts, none),
        YesNoField (L"No_USB_Suspend_May_Be_Set",                    L"May the sink set No USB Suspend in a Request?")                                                        .Rule(c.pdSink,              byKind,     none,                 none),
        YesNoField (L"GiveBack_May_Be_Set",                          L"May the sink set GiveBack in a Request?")                                                              .Rule(c.pdSink,              byKind,     none,                 none),
        YesNoField (L"Higher_Capability_Set",                        L"Does the sink set Higher Capability in Sink_Capabilities?")                                            .Rule(c.pdSink,              byKind,     none,                 none),
        ChoiceField(L"FR_Swap_Reqd_Type_C_Current", kFrSwapCurrents, L"Does the UUT support fast role swap as a sink, and what current does it then require?")                .Rule(And(c.pdSink, c.pd30), byKind,     none,                 none),
        NumberField(fieldname::kNumSnkPdos,         1, 7,            L"How many PDOs are in Sink_Capabilities? The number must match the number of Sink PDOs defined below.") .Rule(c.pdSink,              byKind,     none,                 none),
    });
}

std::vector<SFieldRow> DualRoleFields() {
    const SSharedConditions& c = SharedConditions();
    return MoveRows({
        YesNoField(L"Accepts_PR_Swap_As_Src",  L"May the UUT accept a PR_Swap request while it is a source?") .Rule(c.pdDualRole, byKind, none, none),
        YesNoField(L"Accepts_PR_Swap_As_Snk",  L"May the UUT accept a PR_Swap request while it is a sink?")   .Rule(c.pdDualRole, byKind, none, none),
        YesNoField(L"Requests_PR_Swap_As_Src", L"May the UUT send a PR_Swap request while it is a source?")   .Rule(c.pdDualRole, byKind, none, none),
        YesNoField(L"Requests_PR_Swap_As_Snk", L"May the UUT send a PR_Swap request while it is a sink?")     .Rule(c.pdDualRole, byKind, none, none),
    });
}

std::vector<SFieldRow> SOPDiscovery1Fields() {
    const SSharedConditions& c = SharedConditions();
    return MoveRows({
        NumberField(L"XID_SOP",                        0, 1048575,      L"Valid values are in the range 0 - 1048575.")                                    .Rule(c.discovery,                                   byKind, none,                      none),
        YesNoField (L"Data_Capable_as_USB_Host_SOP",                    L"This field shall always be set to the same value as Type_C_Can_Act_As_Host.")   .Rule(And(c.discovery, IsParentYNValid(fieldname::kCanActAsHost)),   byKind, ForceToParent(fieldname::kCanActAsHost),   none),
        YesNoField (L"Data_Capable_as_USB_Device_SOP",                  L"This field shall always be set to the same value as Type_C_Can_Act_As_Device.") .Rule(And(c.discovery, IsParentYNValid(fieldname::kCanActAsDevice)), byKind, ForceToParent(fieldname::kCanActAsDevice), none),
        ChoiceField(fieldname::kProductTypeUfpSop,     kFilledByAction, L"What is the product type of the UUT as a UFP?")                                 .Rule(c.discovery,                                   byKind, OfferUfpProductTypes,      none) .ChoosingAmong(UfpProductTypeChoices()),
        ChoiceField(L"Product_Type_DFP_SOP",           kFilledByAction, L"What is the product type of the UUT as a DFP?")                                 .Rule(And(c.discovery, c.pd30),                      byKind, OfferDfpProductTypes,      OfferDfpProductTypes) .ChoosingAmong(DfpProductTypeChoices()),
        YesNoField (fieldname::kModalOperationSop,                      L"Does the product support modes? When it does not, no SVIDs may be defined.")    .Rule(c.discovery,                                   byKind, none,                      none),
        HexField   (L"USB_VID_SOP",                    4,               L"The 16-bit vendor ID, a 4-digit hexadecimal number.")                           .Rule(c.discovery,                                   byKind, none,                      none),
        HexField   (L"PID_SOP",                        4,               L"The product ID, a 4-digit hexadecimal number.")                                 .Rule(c.discovery,                                   byKind, none,                      none),
        HexField   (L"bcdDevice_SOP",                  4,               L"The release identity of the product, a 4-digit hexadecimal number.")            .Rule(c.discovery,                                   byKind, none,                      none),
    });
}

std::vector<SFieldRow> SOPDiscovery2Fields() {
    return MoveRows({
        YesNoField (fieldname::kSvidFixedSop,    L"Is the SVID list below fixed and in order?")                                                           .Rule(IsParentYNYes(fieldname::kModalOperationSop), byKind, none, none),
        NumberField(fieldname::kNumSvidsMinSop, 1, 52, L"Valid values are in the range 1 - 52.")                                                                .Rule(IsParentYNYes(fieldname::kModalOperationSop), byKind, none, none),
        NumberField(fieldname::kNumSvidsMaxSop, 1, 52, L"What is the largest number of SVIDs ever announced? It must match the number of SVIDs defined below.") .Rule(IsParentYNYes(fieldname::kModalOperationSop), byKind, none, none),
    });
}

std::vector<SFieldRow> AMAFields() {
    const SSharedConditions& c = SharedConditions();
    const COptionList kVconnPowers = {{0, L"1W"}, {1, L"1.5W"}, {2, L"2W"}, {3, L"3W"}, {4, L"4W"}, {5, L"5W"}, {6, L"6W"}};
    const COptionList kSuperspeeds = {{0, L"USB 2.0 only"}, {1, L"USB 3.1 Gen 1"}, {2, L"USB 3.1 Gen 2"}, {3, L"USB 2.0 Billboard Only"}};
    return MoveRows({
        HexField   (L"AMA_HW_Vers",            1,            L"This field is a 1-digit hexadecimal number.")                                                .Rule(c.ama,                    byKind, none, none),
        HexField   (L"AMA_FW_Vers",            1,            L"The firmware version assigned by the owner of the vendor ID, a 1-digit hexadecimal number.") .Rule(c.ama,                    byKind, none, none),
        YesNoField (kAmaVconn,                               L"Is VCONN needed for the AMA to operate?")                                                    .Rule(c.ama,                    byKind, none, none),
        ChoiceField(L"AMA_VCONN_power",        kVconnPowers, L"How much VCONN power does the AMA need for full functionality when VCONN is required?")      .Rule(IsParentYNYes(kAmaVconn), byKind, none, none),
        YesNoField (L"AMA_VBUS_reqd",                        L"Is VBUS needed for the AMA to operate?")                                                     .Rule(c.ama,                    byKind, none, none),
        ChoiceField(L"AMA_Superspeed_Support", kSuperspeeds, L"Which USB signalling does the AMA support?")                                                 .Rule(c.ama,                    byKind, none, none),
    });
}

std::vector<SFieldRow> Cables1Fields() {
    const SSharedConditions& c = SharedConditions();
    const COptionList kProductTypes     = {{3, L"Passive Cable"}, {4, L"Active Cable"}};
    const COptionList kFarEndTypesV1    = {{0, L"Type-A"}, {1, L"Type-B"}, {2, L"Type-C"}};
    const COptionList kFarEndTypesV2    = {{2, L"USB Type-C"}, {3, L"Captive"}};
    const COptionList kPlugOrReceptacle = {{0, L"Plug"}, {1, L"Receptacle"}};
    const COptionList kVbusCurrents     = {{1, L"3A"}, {2, L"5A"}};
    const COptionList kSuperspeeds      = {{0, L"USB 2.0 only"}, {1, L"USB 3.1 Gen 1"}, {2, L"USB 3.1 Gen 2"}};
    const COptionList kMaxVbusVoltages  = {{0, L"20V"}, {1, L"30V"}, {2, L"40V"}, {3, L"50V"}};
    return MoveRows({
        NumberField(L"XID",                          0, 1048575,        L"The decimal number assigned before certification. Valid values are in the range 0 - 1048575.")  .Rule(c.cable,                               byKind, none,                none),
        YesNoField (L"Data_Capable_as_USB_Host",                        L"Is the UUT capable of enumerating USB devices?")                                                .Rule(c.cable,                               byKind, none,                none),
        YesNoField (L"Data_Capable_as_USB_Device",                      L"Is the UUT capable of enumerating as a USB device?")                                            .Rule(c.cable,                               byKind, none,                none),
        ChoiceField(kCableProductType,               kProductTypes,     L"What is the product type of the cable?")                                                        .Rule(c.cable,                               byKind, none,                none) .MarksProductTypeChange(),
        YesNoField (fieldname::kModalOperationCable,                    L"Does the product support modes? When it does not, no SVIDs may be defined.")                    .Rule(c.cable,                               byKind, none,                none),
        HexField   (L"USB_VID",                      4,                 L"The 16-bit vendor ID, a 4-digit hexadecimal number.")                                           .Rule(c.cable,                               byKind, none,                none),
        HexField   (L"PID",                          4,                 L"The product ID, a 4-digit hexadecimal number.")                                                 .Rule(c.cable,                               byKind, none,                none),
        HexField   (L"bcdDevice",                    4,                 L"The release identity of the product, a 4-digit hexadecimal number.")                            .Rule(c.cable,                               byKind, none,                none),
        HexField   (L"Cable_HW_Vers",                1,                 L"The hardware version of the cable, a 1-digit hexadecimal number.")                              .Rule(c.cable,                               byKind, none,                none),
        HexField   (L"Cable_FW_Vers",                1,                 L"The firmware version of the cable, a 1-digit hexadecimal number.")                              .Rule(c.cable,                               byKind, none,                none),
        ChoiceField(L"Type_C_to_Type_A_B_C",         kFarEndTypesV1,    L"Which connector is at the other end from the USB Type-C connector (Structured VDM version 1)?") .Rule(c.cable,                               byKind, none,                none),
        ChoiceField(L"Type_C_to_Type_C_Capt_Vdm_V2", kFarEndTypesV2,    L"Which connector is at the other end from the USB Type-C connector (Structured VDM version 2)?") .Rule(And(c.pd30, c.cable),                  byKind, none,                none),
        ChoiceField(L"Type_C_to_Plug_Receptacle",    kPlugOrReceptacle, L"Is the connector at the opposite end a plug or a receptacle?")                                  .Rule(c.cable,                               byKind, none,                none),
        ChoiceField(L"Cable_Latency",                kFilledByAction,   L"What is the signal latency through the cable?")                                                 .Rule(IsParentValidValue(kCableProductType), byKind, OfferCableLatencies, none),
        ChoiceField(kTermination,                    kFilledByAction,   L"To what extent is VCONN required to power the UUT?")                                            .Rule(IsParentValidValue(kCableProductType), byKind, OfferTerminations,   none) .ChoosingAmong(TerminationChoices()),
        YesNoField (kVbusThroughCable,                                  L"Does the cable contain an end-to-end VBUS wire?")                                               .Rule(c.cable,                               byKind, none,                none),
        ChoiceField(L"Cable_VBUS_Current",           kVbusCurrents,     L"What current can the cable carry over VBUS?")                                                   .Rule(IsParentYNYes(kVbusThroughCable),      byKind, none,                none),
        YesNoField (L"Cable_SOP''_controller",                          L"Is an SOP'' controller present?")                                                               .Rule(c.cable,                               byKind, none,                none),
        ChoiceField(L"Cable_Superspeed_Support",     kSuperspeeds,      L"Which USB signalling does the cable support?")                                                  .Rule(c.cable,                               byKind, none,                none),
        ChoiceField(L"Max_VBUS_Voltage_Vdm_V2",      kMaxVbusVoltages,  L"What is the maximum voltage that may be negotiated with a fixed supply over the cable?")        .Rule(And(c.pd30, c.cable),                  byKind, none,                none),
        YesNoField (kMfrInfoCable,                                      L"Does the UUT support Get_Manufacturer_Info?")                                                   .Rule(c.cablePd30,                           byKind, none,                none),
        HexField   (L"Manufacturer_Info_VID",        4,                 L"The vendor ID reported in the manufacturer info, a 4-digit hexadecimal number.")                .Rule(IsParentYNYes(kMfrInfoCable),          byKind, none,                none),
        HexField   (L"Manufacturer_Info_PID",        4,                 L"The product ID reported in the manufacturer info, a 4-digit hexadecimal number.")               .Rule(IsParentYNYes(kMfrInfoCable),          byKind, none,                none),
        YesNoField (L"Chunking_Implemented",                            L"Does the UUT implement the extended message chunking layer?")                                   .Rule(c.cablePd30,                           byKind, none,                none),
        YesNoField (L"Security_Msgs_Supported",                         L"Does the UUT support security messages?")                                                       .Rule(c.cablePd30,                           byKind, none,                none),
    });
}

std::vector<SFieldRow> Cables2Fields() {
    return MoveRows({
        YesNoField (fieldname::kSvidFixedCable,    L"Is the SVID list below fixed and in order?")                                                                .Rule(IsParentYNYes(fieldname::kModalOperationCable), byKind, none, none),
        NumberField(fieldname::kCableNumSvidsMin, 1, 52, L"What is the smallest number of SVIDs the cable announces? Valid values are in the range 1 - 52.")           .Rule(IsParentYNYes(fieldname::kModalOperationCable), byKind, none, none),
        NumberField(fieldname::kCableNumSvidsMax, 1, 52, L"What is the largest number of SVIDs the cable announces? It must match the number of SVIDs defined below.") .Rule(IsParentYNYes(fieldname::kModalOperationCable), byKind, none, none),
    });
}

std::vector<SFieldRow> RetimerFields() {
    const SSharedConditions& c = SharedConditions();
    const COptionList kRetimerTypes  = {{0, L"SRIS"}, {1, L"Bit-Level"}};
    const COptionList kRepeaterTypes = {{0, L"SRIS Re-timer"}, {1, L"Bit-Level Re-timer"}, {2, L"Re-driver"}};
    return MoveRows({
        ChoiceField(L"ReTimer_Type",      kRetimerTypes,  L"What is the basic architecture of the re-timer?")                              .Rule(Or(IsParentOrvikProductType(OPT_RETIMER), c.bothEndsActive), byKind, none, none),
        ChoiceField(L"Repeater_Two_Type", kRepeaterTypes, L"In a cable with both ends active, what kind of repeater is at the other end?") .Rule(c.bothEndsActive,                                            byKind, none, none),
    });
}
// clang-format on

} // namespace

const std::vector<SPageRow>& PageCatalog() {
    using G = EGroupType;
    // clang-format off
    // Never destroyed, like the other tables of the program: they last as long as the process, and a
    // command does not spend its last moments taking them apart.
    static const std::vector<SPageRow>& catalog = *new std::vector<SPageRow>(MoveRows<SPageRow>({
        // page                section caption              tab label                    listed group  parent       page-wide parents                                 fields
        {EPage::Intro,         L"Intro",                    L"Intro",                    G::None,      false,       {},                                               IntroFields()},
        {EPage::OrvikProduct,  L"Orvik Product",            L"Orvik Product",            G::None,      true,        {},                                               OrvikProductFields()},
        {EPage::General,       L"General PD Settings",      L"General PD Settings",      G::None,      true,        {fieldname::kUsbPdSupport},                            GeneralFields()},
        {EPage::UsbTypeC,      L"USB Type-C",               L"USB Type-C\u2122",         G::None,      true,        {kStateMachine},                      UsbTypeCFields()},
        {EPage::ProductPower,  L"Product Power",            L"Product Power",            G::None,      true,        {fieldname::kConnectorType, kStateMachine}, ProductPowerFields()},
        {EPage::UsbHost,       L"USB Host",                 L"USB Host",                 G::None,      true,        {},                                               UsbHostFields()},
        {EPage::UsbDevice,     L"USB Device",               L"USB Device",               G::None,      true,        {},                                               UsbDeviceFields()},
        {EPage::BC12,          L"Battery Charging 1.2",     L"Battery Charging 1.2",     G::None,      true,        {},                                               BC12Fields()},
        {EPage::Source,        L"Source",                   L"PD Source",                G::SourcePdo, true,        {fieldname::kPdPortType},                              SourceFields()},
        {EPage::Sink,          L"Sink",                     L"PD Sink",                  G::SinkPdo,   true,        {fieldname::kPdPortType},                              SinkFields()},
        {EPage::DualRole,      L"Dual Role",                L"Dual Role",                G::None,      true,        {fieldname::kPdPortType},                              DualRoleFields()},
        {EPage::SOPDiscovery1, L"SOP Discovery - Part One", L"SOP Discovery - Part One", G::None,      true,        {fieldname::kPdPortType},                              SOPDiscovery1Fields()},
        {EPage::SOPDiscovery2, L"SOP Discovery - Part Two", L"SOP Discovery - Part Two", G::SopSvid,   true,        {},                                               SOPDiscovery2Fields()},
        {EPage::AMA,           L"AMA",                      L"AMA",                      G::None,      true,        {},                                               AMAFields()},
        {EPage::Cables1,       L"Cable - Part One",         L"Cable - Part One",         G::None,      true,        {},                                               Cables1Fields()},
        {EPage::Cables2,       L"Cable - Part Two",         L"Cable - Part Two",         G::CableSvid, true,        {},                                               Cables2Fields()},
        {EPage::Retimer,       L"Re-timer",                 L"Re-timer",                 G::None,      true,        {},                                               RetimerFields()},
    }));
    // clang-format on
    return catalog;
}

// The catalog lists the pages in the order of EPage, so a page's place is its position.
const SPageRow& PageRow(EPage page) {
    return PageCatalog().at(static_cast<std::size_t>(page));
}
