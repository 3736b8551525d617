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

namespace {

// The fields whose answers the page rules read.
const wchar_t* const kProductType = fieldname::kOrvikProductType;
const wchar_t* const kConnector = fieldname::kConnectorType;
const wchar_t* const kPdSupport = fieldname::kUsbPdSupport;
const wchar_t* const kPortType = fieldname::kPdPortType;
const wchar_t* const kStateMachine = L"^Type_C_State_Machine$";
const wchar_t* const kBatteryPowered = fieldname::kPortBatteryPowered;
const wchar_t* const kBc12 = fieldname::kBc12Support;
const wchar_t* const kPdRevision = L"^PD_Specification_Revision$";
const wchar_t* const kSopP = L"^SOP_P_Capable$";
const wchar_t* const kCommsCapable = fieldname::kUsbCommsCapable;
const wchar_t* const kVconnSwapOn = L"^VCONN_Swap_To_On_Supported$";
const wchar_t* const kDiscovUfp = L"^Responds_To_Discov_SOP_UFP$";
const wchar_t* const kDiscovDfp = L"^Responds_To_Discov_SOP_DFP$";
const wchar_t* const kMfrInfoPort = L"^Manufacturer_Info_Supported_Port$";
const wchar_t* const kFixedBatteries = L"^Num_Fixed_Batteries$";
const wchar_t* const kBatterySlots = L"^Num_Swappable_Battery_Slots$";
const wchar_t* const kTrySrc = fieldname::kTrySrc;
const wchar_t* const kTrySnk = fieldname::kTrySnk;
const wchar_t* const kCanHost = fieldname::kCanActAsHost;
const wchar_t* const kCanDevice = fieldname::kCanActAsDevice;
const wchar_t* const kAltController = L"^Type_C_Is_Alt_Mode_Controller$";
const wchar_t* const kAltAdapter = fieldname::kAltModeAdapter;
const wchar_t* const kPortOnHub = L"^Type_C_Port_On_Hub$";
const wchar_t* const kSourcesVconn = L"^Type_C_Sources_VCONN$";
const wchar_t* const kSourcePowerType = L"^Port_Source_Power_Type$";
const wchar_t* const kHostSpeed = fieldname::kHostSpeed;
const wchar_t* const kHostTruncates = L"^Host_Truncates_DP_for_tDHPResponse$";
const wchar_t* const kHostEmbedded = L"^Host_Is_Embedded$";
const wchar_t* const kDfpOnHub = L"^Is_DFP_On_Hub$";
const wchar_t* const kDeviceSpeed = fieldname::kDeviceSpeed;
const wchar_t* const kDeviceTruncates = L"^Device_Truncates_DP_for_tDHPResponse$";
const wchar_t* const kOcProtection = L"^PD_OC_Protection$";
const wchar_t* const kModalSop = L"^Modal_Operation_Supported_SOP$";
const wchar_t* const kUfpProductType = fieldname::kProductTypeUfpSop;
const wchar_t* const kAmaVconn = L"^AMA_VCONN_reqd$";
const wchar_t* const kCableProductType = L"^Product_Type$";
const wchar_t* const kVbusThroughCable = L"^VBUS_through_cable$";
const wchar_t* const kMfrInfoCable = L"^Manufacturer_Info_Supported$";
const wchar_t* const kModalCable = L"^Modal_Operation_Supported$";
const wchar_t* const kTermination = L"^Cable_Termination_Type$";

// ---- helpers ----

void RequireField(const CParameterField* field) {
    if (!field) {
        throw fieldlist_error(L"const CParameterField arg is NULL.");
    }
}

void RequireField(CParameterField* field) {
    if (!field) {
        throw fieldlist_error(L"CParameterField arg is NULL.");
    }
}

IPageContext* HostPage(const CParameterField* field) {
    return field && field->Host() ? field->Host()->GetPage() : nullptr;
}

bool IsPage(const IPageContext* page, EPage id) {
    return page && page->PageIndex() == static_cast<int>(id);
}

// A rule that works through the tab hosting the field refuses a field hosted elsewhere.
IPageContext& RequireHost(const CParameterField* field, EPage page) {
    RequireField(field);
    IPageContext* host = HostPage(field);
    if (!IsPage(host, page)) {
        throw fieldlist_error(
            orvik::Format(L"Couldn't get parent window for const field %s.", {field->NamePattern()}));
    }
    return *host;
}

IPageContext& RequireHost(CParameterField* field, EPage page) {
    RequireField(field);
    IPageContext* host = HostPage(field);
    if (!IsPage(host, page)) {
        throw fieldlist_error(
            orvik::Format(L"Couldn't get parent window for field %s.", {field->NamePattern()}));
    }
    return *host;
}

bool IsHostedOn(const CParameterField* field, EPage page) {
    return IsPage(HostPage(field), page);
}

// A parent's option id (EYesNo coding for a YES/NO parent); a missing parent is a fieldlist_error.
int ChoiceOf(CParameterField* field, const wchar_t* parentName) {
    return GetParentAs<CPulldownListField>(field, parentName)->GetIntValue();
}

int YesNoOf(CParameterField* field, const wchar_t* parentName) {
    return GetParentAs<CYesNoPulldownListField>(field, parentName)->GetIntValue();
}

FieldPredicate And(FieldPredicate first, FieldPredicate second) {
    return CBooleanAndFunctor(std::move(first), std::move(second));
}

FieldPredicate And(FieldPredicate first, FieldPredicate second, FieldPredicate third) {
    return And(std::move(first), And(std::move(second), std::move(third)));
}

FieldPredicate And(FieldPredicate first, FieldPredicate second, FieldPredicate third, FieldPredicate fourth) {
    return And(std::move(first), And(std::move(second), std::move(third), std::move(fourth)));
}

FieldPredicate Or(FieldPredicate first, FieldPredicate second) {
    return CBooleanOrFunctor(std::move(first), std::move(second));
}

// ---- availability terms that are plain functions ----

bool IsPortPd30(const CParameterField* field) {
    RequireField(field);
    if (ParentIntValue(field, kProductType) == OPT_CABLE) {
        return false;
    }
    return ParentIntValue(field, kPdRevision) == PDREV_30;
}

bool IsCablePd30(const CParameterField* field) {
    RequireField(field);
    return ParentIntValue(field, kProductType) == OPT_CABLE && ParentIntValue(field, kPdRevision) == PDREV_30;
}

bool IsTypeCDrp(const CParameterField* field) {
    RequireField(field);
    return ParentIntValue(field, kStateMachine) == TCSM_DRP;
}

bool IsTypeCSourceSide(const CParameterField* field) {
    RequireField(field);
    const int stateMachine = ParentIntValue(field, kStateMachine);
    return stateMachine == TCSM_SRC || stateMachine == TCSM_DRP;
}

bool IsTypeCSinkSide(const CParameterField* field) {
    RequireField(field);
    const int stateMachine = ParentIntValue(field, kStateMachine);
    return stateMachine == TCSM_SNK || stateMachine == TCSM_DRP;
}

bool IsConsumerOnlySink(const CParameterField* field) {
    RequireField(field);
    return ParentIntValue(field, kPortType) == PPT_CONSUMER_ONLY &&
           ParentIntValue(field, kStateMachine) == TCSM_SNK;
}

bool IsNotProviderOnly(const CParameterField* field) {
    RequireField(field);
    return ParentIntValue(field, kPortType) != PPT_PROVIDER_ONLY;
}

bool IsTypeCSourceSideOnTypeCPage(const CParameterField* field) {
    RequireField(field);
    return IsHostedOn(field, EPage::UsbTypeC) && IsTypeCSourceSide(field);
}

bool IsTypeCSinkSideOnTypeCPage(const CParameterField* field) {
    RequireField(field);
    return IsHostedOn(field, EPage::UsbTypeC) && IsTypeCSinkSide(field);
}

bool IsConsumerOnlySinkOnTypeCPage(const CParameterField* field) {
    RequireField(field);
    return IsHostedOn(field, EPage::UsbTypeC) && IsConsumerOnlySink(field);
}

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

const SSharedConditions& SharedConditions() {
    static const SSharedConditions conditions;
    return conditions;
}

// ---- validity checks ----

// A battery-powered port declares at least one battery or battery slot.
FieldPredicate BatteryCountCheck(const wchar_t* partnerName) {
    return [partnerName](const CParameterField* field) {
        RequireField(field);
        if (!field->IsValid()) {
            return false;
        }
        const IPageContext& page = RequireHost(field, EPage::General);
        if (!IsYes(page.FormField(kBatteryPowered))) {
            return true;
        }
        return DecimalOf(field) + DecimalOf(page.PageField(partnerName)) != 0;
    };
}

// A port cannot try to be both source and sink.
FieldPredicate TryCheck(const wchar_t* partnerName) {
    return [partnerName](const CParameterField* field) {
        RequireField(field);
        if (!field->IsValid()) {
            return false;
        }
        const IPageContext* page = HostPage(field);
        const CParameterField* partner = page ? page->PageField(partnerName) : nullptr;
        return !(IsYes(field) && IsYes(partner));
    };
}

// A port capable of USB communication acts as host or device; one that is not acts as neither.
FieldPredicate RoleCheck(const wchar_t* partnerName) {
    return [partnerName](const CParameterField* field) {
        RequireField(field);
        if (!field->IsValid()) {
            return false;
        }
        const IPageContext& page = RequireHost(field, EPage::UsbTypeC);
        const int comms = ChoiceOf(page.FormField(kCommsCapable));
        if (IsYes(comms)) {
            return !(IsNo(field) && IsNo(page.PageField(partnerName)));
        }
        if (IsNo(comms)) {
            return !IsYes(field);
        }
        return true;
    };
}

// PD Power comes in 500 mW steps up to 10 W and in whole watts above.
bool PowerCheck(const CParameterField* field) {
    RequireField(field);
    if (!field->IsValid()) {
        return false;
    }
    std::uint32_t power = 0;
    if (!TryTextToUnsigned(field->CurrentText(), power)) {
        return false;
    }
    return power % 500 == 0 && (power <= 10000 || power % 1000 == 0);
}

// ---- actions ----

void ForceYesNo(CParameterField* field, EYesNo value) {
    field->Force(IsYes(value) ? L"YES" : L"NO");
}

// A new choice list: a single choice is forced; otherwise the user chooses again among the new
// choices, keeping an earlier answer that is still one of them.
void OfferChoices(CParameterField* field, const COptionList& options) {
    auto* list = FieldCast<CPulldownListField>(field);
    const std::wstring previous = list->Value();
    list->SetOptions(options);
    if (options.size() == 1) {
        list->Force(orvik::ToWideSigned(options.front().first));
        return;
    }
    list->MakeEditable();
    list->SetValue(previous);
    list->SyncWithControl(ESyncDirection::ValueToControl);
    if (!list->IsValid()) {
        list->SetValue(std::wstring());
        list->RefreshControl();
    }
}

void SteerPdSupport(CParameterField* field) {
    RequireField(field);
    const int productType = ChoiceOf(field, kProductType);
    if (productType == OPT_CABLE) {
        ForceYesNo(field, YN_YES);
    } else if (productType == OPT_PORT) {
        if (ChoiceOf(field, kConnector) == CT_TYPE_C) {
            field->MakeEditable();
        } else {
            ForceYesNo(field, YN_NO);
        }
    }
}

void OfferStateMachines(CParameterField* field) {
    RequireField(field);
    static const COption kSrc{TCSM_SRC, L"SRC"};
    static const COption kSnk{TCSM_SNK, L"SNK"};
    static const COption kDrp{TCSM_DRP, L"DRP"};
    if (IsNo(YesNoOf(field, kPdSupport))) {
        auto* list = FieldCast<CPulldownListField>(field);
        const std::wstring previous = list->Value();
        list->SetOptions({kSrc, kSnk, kDrp});
        list->MakeEditable();
        list->SetValue(previous);
        list->RefreshControl();
        return;
    }
    COptionList options;
    switch (ChoiceOf(field, kPortType)) {
    case PPT_CONSUMER_ONLY:
        options = {kSnk};
        break;
    case PPT_CONSUMER_PROVIDER:
        options = {kSnk, kDrp};
        break;
    case PPT_PROVIDER_CONSUMER:
        options = {kSrc, kDrp};
        break;
    case PPT_PROVIDER_ONLY:
        options = {kSrc};
        break;
    case PPT_DRP:
        options = {kDrp};
        break;
    default:
        break;
    }
    OfferChoices(field, options);
}

void OfferBc12Roles(CParameterField* field) {
    RequireField(field);
    const int stateMachine = ChoiceOf(field, kStateMachine);
    const int connector = ChoiceOf(field, kConnector);
    const bool portableDevice =
        (stateMachine == TCSM_SNK || stateMachine == TCSM_DRP || connector == CT_TYPE_B) &&
        IsYes(YesNoOf(field, kBatteryPowered));
    const bool chargingPort = stateMachine == TCSM_SRC || stateMachine == TCSM_DRP || connector == CT_TYPE_A;
    COptionList options{{BC12_NONE, L"None"}};
    if (portableDevice) {
        options.emplace_back(BC12_PORTABLE_DEVICE, L"Portable Device");
    }
    if (chargingPort) {
        options.emplace_back(BC12_CHARGING_PORT, L"Charging Port");
    }
    if (portableDevice && chargingPort) {
        options.emplace_back(BC12_BOTH, L"Both");
    }
    OfferChoices(field, options);
}

void ForbidSopWithoutPd(CParameterField* field) {
    RequireField(field);
    if (ChoiceOf(field, kProductType) == OPT_CABLE || !IsYes(YesNoOf(field, kPdSupport))) {
        ForceYesNo(field, YN_NO);
    }
}

void FollowSopPCapable(CParameterField* field) {
    RequireField(field);
    const int sopP = YesNoOf(field, kSopP);
    if (IsYes(sopP)) {
        field->MakeEditable();
    } else if (IsNo(sopP)) {
        ForceYesNo(field, YN_NO);
    } else {
        field->SetValue(std::wstring());
        field->RefreshControl();
        field->SetEnabled(false);
        field->EnableControl(false);
    }
}

// A port that can only take one data role, or must take it for its alternate mode, accepts the
// swap to that role.
FieldAction SteerDataRoleSwap(const wchar_t* ownRole, const wchar_t* otherRole, const wchar_t* altMode,
                              ETypeCStateMachine roleState) {
    return [=](CParameterField* field) {
        RequireField(field);
        const bool wasEnabled = field->IsEnabled();
        const std::wstring oldValue = field->Value();
        const int stateMachine = ChoiceOf(field, kStateMachine);
        bool forcedYes = false;
        if (stateMachine == TCSM_DRP) {
            forcedYes = IsYes(YesNoOf(field, ownRole)) && IsNo(YesNoOf(field, otherRole));
        } else if (stateMachine == roleState) {
            forcedYes = IsYes(YesNoOf(field, ownRole)) || IsYes(YesNoOf(field, altMode));
        }
        if (forcedYes) {
            ForceYesNo(field, YN_YES);
        } else {
            field->MakeEditable();
        }
        if (field->IsEnabled() != wasEnabled || field->Value() != oldValue) {
            field->SetChanged(true);
        }
    };
}

// Forced YES while the parent reads YES, editable otherwise.
FieldAction ForceYesWhile(const wchar_t* parentName) {
    return [parentName](CParameterField* field) {
        RequireField(field);
        if (IsYes(YesNoOf(field, parentName))) {
            ForceYesNo(field, YN_YES);
        } else {
            field->MakeEditable();
        }
    };
}

// No USB communication means neither data role; a sink-only port is no host, a source-only port
// no device.
FieldAction ForbidImpossibleDataRole(ETypeCStateMachine excludingState) {
    return [excludingState](CParameterField* field) {
        RequireField(field);
        if (IsNo(YesNoOf(field, kCommsCapable)) || ChoiceOf(field, kStateMachine) == excludingState) {
            ForceYesNo(field, YN_NO);
        }
    };
}

void AllowAltModeAdapterWhenDiscoverable(CParameterField* field) {
    RequireField(field);
    if (IsYes(YesNoOf(field, kDiscovUfp))) {
        field->MakeEditable();
    } else {
        ForceYesNo(field, YN_NO);
    }
}

void SteerHostSuspend(CParameterField* field) {
    RequireField(field);
    const int embedded = YesNoOf(field, kHostEmbedded);
    if (IsYes(embedded)) {
        field->MakeEditable();
    } else if (IsNo(embedded)) {
        ForceYesNo(field, YN_YES);
    }
}

void FollowPortOnHub(CParameterField* field) {
    RequireField(field);
    if (ChoiceOf(field, kConnector) == CT_TYPE_C) {
        field->Force(GetParentAs<CYesNoPulldownListField>(field, kPortOnHub)->Value());
    }
}

// USB 2 hubs address up to 255 ports, SuperSpeed hubs up to 15.
void RangeHubPortNumber(CParameterField* field) {
    RequireHost(field, EPage::UsbHost);
    auto* number = FieldCast<CNumEditField>(field);
    const int speed = IsYes(YesNoOf(field, kDfpOnHub)) ? ChoiceOf(field, kHostSpeed) : -1;
    if (speed == USB_2) {
        number->SetRangeAndScale(1, 255, number->Scale(), false);
        number->MakeEditable();
    } else if (speed >= USB_32_GEN1X1 && speed <= USB_32_GEN2X2) {
        number->SetRangeAndScale(1, 15, number->Scale(), false);
        number->MakeEditable();
    } else {
        number->SetEnabled(false);
        number->EnableControl(false);
        number->SetRangeAndScale(0, 0, number->Scale(), false);
    }
}

void UsePowerInMilliwatts(CParameterField* field) {
    FieldCast<CNumEditField>(field)->SetScaleAndUnits(1, L"mW");
}

FieldAction ForceToParent(const wchar_t* parentName) {
    return [parentName](CParameterField* field) {
        RequireField(field);
        field->Force(GetParentAs<CYesNoPulldownListField>(field, parentName)->Value());
    };
}

void OfferUfpProductTypes(CParameterField* field) {
    RequireField(field);
    if (!IsYes(YesNoOf(field, kCanDevice))) {
        OfferChoices(field, {{PT_UNDEFINED, L"Undefined"}});
    } else if (!IsYes(YesNoOf(field, kAltAdapter))) {
        // The "Undefined" that was forced while the port could not act as a device is nobody's
        // answer: once the port can, the user chooses.
        auto* list = FieldCast<CPulldownListField>(field);
        const COptionList& before = list->Options();
        const bool wasForced = before.size() == 1 && before.front().first == PT_UNDEFINED;
        OfferChoices(field, {{PT_UNDEFINED, L"Undefined"},
                             {PT_PDUSB_HUB, L"PDUSB Hub"},
                             {PT_PDUSB_PERIPHERAL, L"PDUSB Peripheral"}});
        if (wasForced) {
            list->SetValue(std::wstring());
            list->RefreshControl();
        }
    } else {
        OfferChoices(field, {{PT_AMA, L"Alternate Mode Adapter (AMA)"}});
    }
}

void OfferDfpProductTypes(CParameterField* field) {
    RequireField(field);
    COptionList options{{PT_UNDEFINED, L"Undefined"},
                        {PT_PDUSB_HUB, L"PDUSB Hub"},
                        {PT_PDUSB_PERIPHERAL, L"PDUSB Peripheral"},
                        {PT_POWER_BRICK_OR_PASSIVE_CABLE, L"Power Brick"}};
    const COption controller{PT_AMC_OR_ACTIVE_CABLE, L"Alternate Mode Controller (AMC)"};
    if (!IsYes(YesNoOf(field, kCanHost))) {
        options.push_back(controller);
    } else if (IsYes(YesNoOf(field, kAltController))) {
        options = {controller};
    }
    OfferChoices(field, options);
}

void OfferCableLatencies(CParameterField* field) {
    RequireField(field);
    auto* list = FieldCast<CPulldownListField>(field);
    COptionList options{{1, L"<10ns"},       {2, L"10ns - 20ns"}, {3, L"20ns - 30ns"}, {4, L"30ns - 40ns"},
                        {5, L"40ns - 50ns"}, {6, L"50ns - 60ns"}, {7, L"60ns - 70ns"}};
    switch (ChoiceOf(field, kCableProductType)) {
    case PT_POWER_BRICK_OR_PASSIVE_CABLE:
        options.emplace_back(8, L"> 70ns");
        break;
    case PT_AMC_OR_ACTIVE_CABLE:
        options.emplace_back(8, L"1000ns");
        options.emplace_back(9, L"2000ns");
        options.emplace_back(10, L"3000ns");
        break;
    default:
        options.clear();
        break;
    }
    const std::wstring previous = list->Value();
    list->SetOptions(options);
    // A latency chosen for the other kind of cable means something else now.
    IPageContext* page = HostPage(field);
    const bool cablePage = IsPage(page, EPage::Cables1);
    list->SetValue(cablePage && page->ProductTypeChanged() ? std::wstring() : previous);
    list->RefreshControl();
    if (cablePage) {
        page->SetProductTypeChanged(false);
    }
}

void OfferTerminations(CParameterField* field) {
    RequireHost(field, EPage::Cables1);
    auto* list = FieldCast<CPulldownListField>(field);
    switch (ChoiceOf(field, kCableProductType)) {
    case PT_POWER_BRICK_OR_PASSIVE_CABLE:
        list->SetOptions({{CTT_PASSIVE_NO_VCONN, L"Both ends Passive, VCONN not required"},
                          {CTT_PASSIVE_VCONN, L"Both ends Passive, VCONN required"}});
        break;
    case PT_AMC_OR_ACTIVE_CABLE:
        list->SetOptions({{CTT_ONE_ACTIVE_VCONN, L"One end Active, one end passive, VCONN required"},
                          {CTT_BOTH_ACTIVE_VCONN, L"Both ends Active, VCONN required"}});
        break;
    default:
        list->SetOptions({});
        break;
    }
    if (!list->IsValid()) {
        list->SetValue(std::wstring());
    }
    list->RefreshControl();
}

} // namespace

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
        // Field                                          Availability                                                           Validity                              On available                          Refresh                Reads
        {L"^\\$Orvik_Specification$",                     always,                                                                byKind,                               none,                                 none,                  {}},
        {L"^\\$Orvik_Producer$",                          always,                                                                byKind,                               none,                                 none,                  {}},
        {L"^\\$Vendor_Name$",                             always,                                                                byKind,                               none,                                 none,                  {}},
        {L"^\\$Model_Part_Number$",                       always,                                                                byKind,                               none,                                 none,                  {}},
        {L"^\\$Product_Revision$",                        always,                                                                byKind,                               none,                                 none,                  {}},
        {L"^\\$TID$",                                     always,                                                                byKind,                               none,                                 none,                  {}},
        {L"^Orvik_Product_Type$",                         always,                                                                byKind,                               none,                                 none,                  {}},
        {L"^\\$Port_Label$",                              c.port,                                                                byKind,                               none,                                 none,                  {kProductType}},
        {L"^Connector_Type$",                             c.port,                                                                byKind,                               none,                                 none,                  {kProductType}},
        {L"^USB_PD_Support$",                             pdSupportAsked,                                                        byKind,                               SteerPdSupport,                       none,                  {kProductType, kConnector}},
        {L"^PD_Port_Type$",                               And(c.pd, c.port),                                                     byKind,                               none,                                 none,                  {kPdSupport, kProductType}},
        {L"^Type_C_State_Machine$",                       stateMachineAsked,                                                     byKind,                               OfferStateMachines,                   none,                  {kConnector, kPortType, kPdSupport}},
        {L"^Port_Battery_Powered$",                       c.port,                                                                byKind,                               none,                                 none,                  {kProductType}},
        {L"^BC_1_2_Support$",                             bc12Asked,                                                             byKind,                               OfferBc12Roles,                       none,                  {kProductType, kConnector, kStateMachine, kBatteryPowered}},
        {L"^PD_Specification_Revision$",                  c.pd,                                                                  byKind,                               none,                                 none,                  {kPdSupport}},
        {L"^SOP_Capable$",                                c.pd,                                                                  byKind,                               ForbidSopWithoutPd,                   none,                  {kPdSupport, kProductType}},
        {L"^SOP_P_Capable$",                              c.pd,                                                                  byKind,                               none,                                 none,                  {kPdSupport}},
        {L"^SOP_PP_Capable$",                             c.pd,                                                                  byKind,                               FollowSopPCapable,                    none,                  {kPdSupport, kSopP}},
        {L"^SOP_P_Debug_Capable$",                        c.pd,                                                                  byKind,                               none,                                 none,                  {kPdSupport}},
        {L"^SOP_PP_Debug_Capable$",                       c.pd,                                                                  byKind,                               none,                                 none,                  {kPdSupport}},
        {L"^Security_Msgs_Supported_SOP$",                And(c.pd, c.pd30, c.notCable),                                         byKind,                               none,                                 none,                  {kPdSupport, kPdRevision, kProductType}},
        {L"^USB_Comms_Capable$",                          And(c.pd, c.notCable),                                                 byKind,                               none,                                 none,                  {kPdSupport, kProductType}},
        {L"^DR_Swap_To_DFP_Supported$",                   And(c.pd, c.notCable),                                                 byKind,                               steerDfpSwap,                         none,                  {kPdSupport, kProductType, kStateMachine, kCanHost, kCanDevice, kAltController}},
        {L"^DR_Swap_To_UFP_Supported$",                   And(c.pd, c.notCable),                                                 byKind,                               steerUfpSwap,                         none,                  {kPdSupport, kProductType, kStateMachine, kCanHost, kCanDevice, kAltAdapter}},
        {L"^Unconstrained_Power$",                        And(c.pd, c.notCable),                                                 byKind,                               none,                                 none,                  {kPdSupport, kProductType}},
        {L"^VCONN_Swap_To_On_Supported$",                 And(c.pd, c.notCable),                                                 byKind,                               none,                                 none,                  {kPdSupport, kProductType}},
        {L"^VCONN_Swap_To_Off_Supported$",                And(c.pd, c.notCable),                                                 byKind,                               ForceYesWhile(kSourcesVconn),         none,                  {kPdSupport, kProductType, kSourcesVconn}},
        {L"^Responds_To_Discov_SOP_UFP$",                 And(c.pd, c.notCable),                                                 byKind,                               none,                                 none,                  {kPdSupport, kProductType}},
        {L"^Responds_To_Discov_SOP_DFP$",                 And(c.pd, c.notCable),                                                 byKind,                               none,                                 none,                  {kPdSupport, kProductType}},
        {L"^Attempts_Discov_SOP$",                        And(c.pd, c.notCable),                                                 byKind,                               none,                                 none,                  {kPdSupport, kProductType}},
        {L"^Chunking_Implemented_SOP$",                   c.portPd30,                                                            byKind,                               none,                                 none,                  {kProductType, kPdRevision}},
        {L"^Unchunked_Extended_Messages_Supported$",      c.portPd30,                                                            byKind,                               none,                                 none,                  {kProductType, kPdRevision}},
        {L"^Manufacturer_Info_Supported_Port$",           c.portPd30,                                                            byKind,                               none,                                 none,                  {kProductType, kPdRevision}},
        {L"^Manufacturer_Info_VID_Port$",                 IsParentYNYes(kMfrInfoPort),                                           byKind,                               none,                                 none,                  {kMfrInfoPort}},
        {L"^Manufacturer_Info_PID_Port$",                 IsParentYNYes(kMfrInfoPort),                                           byKind,                               none,                                 none,                  {kMfrInfoPort}},
        {L"^Num_Fixed_Batteries$",                        c.portPd30,                                                            BatteryCountCheck(kBatterySlots),     none,                                 none,                  {kProductType, kPdRevision}},
        {L"^Num_Swappable_Battery_Slots$",                c.portPd30,                                                            BatteryCountCheck(kFixedBatteries),   none,                                 none,                  {kProductType, kPdRevision}},
        {L"^Type_C_Implements_Try_SRC$",                  And(c.typeCKnown, IsTypeCDrp),                                         TryCheck(kTrySnk),                    none,                                 none,                  {kStateMachine}},
        {L"^Type_C_Implements_Try_SNK$",                  And(c.typeCKnown, IsTypeCDrp),                                         TryCheck(kTrySrc),                    none,                                 none,                  {kStateMachine}},
        {L"^RP_Value$",                                   And(c.typeCKnown, IsTypeCSourceSide),                                  byKind,                               none,                                 none,                  {kStateMachine}},
        {L"^Type_C_Supports_VCONN_Powered_Accessory$",    And(c.typeCKnown, IsConsumerOnlySinkOnTypeCPage),                      byKind,                               none,                                 none,                  {kStateMachine, kPortType}},
        {L"^Type_C_Is_VCONN_Powered_Accessory$",          And(c.typeCKnown, IsNotProviderOnly),                                  byKind,                               none,                                 none,                  {kStateMachine, kPortType}},
        {L"^Type_C_Is_Debug_Target_SRC$",                 And(c.typeCKnown, IsTypeCSourceSideOnTypeCPage),                       byKind,                               none,                                 none,                  {kStateMachine}},
        {L"^Type_C_Is_Debug_Target_SNK$",                 And(c.typeCKnown, IsTypeCSinkSideOnTypeCPage),                         byKind,                               none,                                 none,                  {kStateMachine}},
        {L"^Type_C_Can_Act_As_Host$",                     c.typeCKnown,                                                          RoleCheck(kCanDevice),                ForbidImpossibleDataRole(TCSM_SNK),   none,                  {kStateMachine, kCommsCapable}},
        {L"^Type_C_Can_Act_As_Device$",                   c.typeCKnown,                                                          RoleCheck(kCanHost),                  ForbidImpossibleDataRole(TCSM_SRC),   none,                  {kStateMachine, kCommsCapable}},
        {L"^Type_C_Is_Alt_Mode_Controller$",              And(c.typeCKnown, c.pd, typeC),                                        byKind,                               none,                                 none,                  {kStateMachine, kPdSupport, kConnector}},
        {L"^Type_C_Is_Alt_Mode_Adapter$",                 And(c.typeCKnown, typeC, c.pd),                                        byKind,                               AllowAltModeAdapterWhenDiscoverable,  none,                  {kStateMachine, kConnector, kPdSupport, kDiscovUfp}},
        {L"^Type_C_Supports_Audio_Accessory$",            And(c.typeCKnown, typeC),                                              byKind,                               none,                                 none,                  {kStateMachine, kConnector}},
        {L"^Captive_Cable$",                              And(c.typeCKnown, typeC),                                              byKind,                               none,                                 none,                  {kStateMachine, kConnector}},
        {L"^Type_C_Port_On_Hub$",                         And(c.typeCKnown, typeC),                                              byKind,                               none,                                 none,                  {kStateMachine, kConnector}},
        {L"^Type_C_Power_Source$",                        And(c.typeCKnown, typeC),                                              byKind,                               none,                                 none,                  {kStateMachine, kConnector}},
        {L"^Type_C_Sources_VCONN$",                       And(c.typeCKnown, typeC),                                              byKind,                               ForceYesWhile(kVconnSwapOn),          none,                  {kStateMachine, kConnector, kVconnSwapOn}},
        {L"^Product_Total_Source_Power$",                 c.sourcePower,                                                         byKind,                               none,                                 none,                  {kConnector, kStateMachine}},
        {L"^Port_Source_Power_Type$",                     c.sourcePower,                                                         byKind,                               none,                                 none,                  {kConnector, kStateMachine}},
        {L"^\\$Port_Source_Power_Gang$",                  And(c.sourcePower, ganged),                                            byKind,                               none,                                 none,                  {kConnector, kStateMachine, kSourcePowerType}},
        {L"^BC_1_2_Charging_Port_Type$",                  IsParentValue<EBC12Support>(kBc12, {BC12_CHARGING_PORT, BC12_BOTH}),   byKind,                               none,                                 none,                  {kBc12}},
        {L"^Host_Speed$",                                 c.hostSide,                                                            byKind,                               none,                                 none,                  {kConnector, kCanHost}},
        {L"^Host_Contains_Captive_Retimer$",              c.hostSide,                                                            byKind,                               none,                                 none,                  {kConnector, kCanHost}},
        {L"^Host_Truncates_DP_for_tDHPResponse$",         And(c.hostSide, hostSpeedKnownAbove2),                                 byKind,                               none,                                 none,                  {kConnector, kCanHost, kHostSpeed}},
        {L"^Host_Gen1x1_tLinkTurnaround$",                And(c.hostSide, hostSpeedGen1, IsParentYNYes(kHostTruncates)),         byKind,                               none,                                 none,                  {kConnector, kCanHost, kHostSpeed, kHostTruncates}},
        {L"^Host_Gen2x1_tLinkTurnaround$",                And(c.hostSide, hostSpeedGen2, IsParentYNYes(kHostTruncates)),         byKind,                               none,                                 none,                  {kConnector, kCanHost, kHostSpeed, kHostTruncates}},
        {L"^Host_Is_Embedded$",                           c.hostSide,                                                            byKind,                               none,                                 none,                  {kConnector, kCanHost}},
        {L"^Host_Suspend_Supported$",                     And(c.hostSide, IsParentYNValid(kHostEmbedded)),                       byKind,                               SteerHostSuspend,                     none,                  {kConnector, kCanHost, kHostEmbedded}},
        {L"^Is_DFP_On_Hub$",                              c.hostSide,                                                            byKind,                               FollowPortOnHub,                      none,                  {kConnector, kCanHost, kPortOnHub}},
        {L"^Hub_Port_Number$",                            And(c.hostSide, IsParentYNYes(kDfpOnHub)),                             byKind,                               RangeHubPortNumber,                   none,                  {kConnector, kCanHost, kDfpOnHub, kHostSpeed}},
        {L"^Device_Speed$",                               c.deviceSide,                                                          byKind,                               none,                                 none,                  {kConnector, kCanDevice}},
        {L"^Device_Contains_Captive_Retimer$",            c.deviceSide,                                                          byKind,                               none,                                 none,                  {kConnector, kCanDevice}},
        {L"^Device_Truncates_DP_for_tDHPResponse$",       And(c.deviceSide, deviceSpeedKnownAbove2),                             byKind,                               none,                                 none,                  {kConnector, kCanDevice, kDeviceSpeed}},
        {L"^Device_Gen1x1_tLinkTurnaround$",              And(c.deviceSide, deviceSpeedGen1, IsParentYNYes(kDeviceTruncates)),   byKind,                               none,                                 none,                  {kConnector, kCanDevice, kDeviceSpeed, kDeviceTruncates}},
        {L"^Device_Gen2x1_tLinkTurnaround$",              And(c.deviceSide, deviceSpeedGen2, IsParentYNYes(kDeviceTruncates)),   byKind,                               none,                                 none,                  {kConnector, kCanDevice, kDeviceSpeed, kDeviceTruncates}},
        {L"^PD_Power_as_Source$",                         c.pdSource,                                                            PowerCheck,                           UsePowerInMilliwatts,                 none,                  {kPortType}},
        {L"^USB_Suspend_May_Be_Cleared$",                 c.pdSource,                                                            byKind,                               none,                                 none,                  {kPortType}},
        {L"^Sends_Pings$",                                c.pdSource,                                                            byKind,                               none,                                 none,                  {kPortType}},
        {L"^FR_Swap_Supported_As_Source$",                And(c.pdSource, c.pd30),                                               byKind,                               none,                                 none,                  {kPortType, kPdRevision}},
        {L"^PD_OC_Protection$",                           c.pdSource,                                                            byKind,                               none,                                 none,                  {kPortType}},
        {L"^PD_OCP_Method$",                              And(c.pdSource, IsParentYNYes(kOcProtection)),                         byKind,                               none,                                 none,                  {kPortType, kOcProtection}},
        {L"^Num_Src_PDOs$",                               c.pdSource,                                                            byKind,                               none,                                 none,                  {kPortType}},
        {L"^PD_Power_as_Sink$",                           c.pdSink,                                                              PowerCheck,                           UsePowerInMilliwatts,                 none,                  {kPortType}},
        {L"^No_USB_Suspend_May_Be_Set$",                  c.pdSink,                                                              byKind,                               none,                                 none,                  {kPortType}},
        {L"^GiveBack_May_Be_Set$",                        c.pdSink,                                                              byKind,                               none,                                 none,                  {kPortType}},
        {L"^Higher_Capability_Set$",                      c.pdSink,                                                              byKind,                               none,                                 none,                  {kPortType}},
        {L"^FR_Swap_Reqd_Type_C_Current$",                And(c.pdSink, c.pd30),                                                 byKind,                               none,                                 none,                  {kPortType, kPdRevision}},
        {L"^Num_Snk_PDOs$",                               c.pdSink,                                                              byKind,                               none,                                 none,                  {kPortType}},
        {L"^Accepts_PR_Swap_As_Src$",                     c.pdDualRole,                                                          byKind,                               none,                                 none,                  {kPortType}},
        {L"^Accepts_PR_Swap_As_Snk$",                     c.pdDualRole,                                                          byKind,                               none,                                 none,                  {kPortType}},
        {L"^Requests_PR_Swap_As_Src$",                    c.pdDualRole,                                                          byKind,                               none,                                 none,                  {kPortType}},
        {L"^Requests_PR_Swap_As_Snk$",                    c.pdDualRole,                                                          byKind,                               none,                                 none,                  {kPortType}},
        {L"^XID_SOP$",                                    c.discovery,                                                           byKind,                               none,                                 none,                  {kDiscovDfp, kDiscovUfp}},
        {L"^Data_Capable_as_USB_Host_SOP$",               And(c.discovery, IsParentYNValid(kCanHost)),                           byKind,                               ForceToParent(kCanHost),              none,                  {kDiscovDfp, kDiscovUfp, kCanHost}},
        {L"^Data_Capable_as_USB_Device_SOP$",             And(c.discovery, IsParentYNValid(kCanDevice)),                         byKind,                               ForceToParent(kCanDevice),            none,                  {kDiscovDfp, kDiscovUfp, kCanDevice}},
        {L"^Product_Type_UFP_SOP$",                       c.discovery,                                                           byKind,                               OfferUfpProductTypes,                 none,                  {kDiscovDfp, kDiscovUfp, kCanDevice, kAltAdapter}},
        {L"^Product_Type_DFP_SOP$",                       And(c.discovery, c.pd30),                                              byKind,                               OfferDfpProductTypes,                 OfferDfpProductTypes,  {kDiscovDfp, kDiscovUfp, kPdRevision, kCanHost, kAltController}},
        {L"^Modal_Operation_Supported_SOP$",              c.discovery,                                                           byKind,                               none,                                 none,                  {kDiscovDfp, kDiscovUfp}},
        {L"^USB_VID_SOP$",                                c.discovery,                                                           byKind,                               none,                                 none,                  {kDiscovDfp, kDiscovUfp}},
        {L"^PID_SOP$",                                    c.discovery,                                                           byKind,                               none,                                 none,                  {kDiscovDfp, kDiscovUfp}},
        {L"^bcdDevice_SOP$",                              c.discovery,                                                           byKind,                               none,                                 none,                  {kDiscovDfp, kDiscovUfp}},
        {L"^SVID_fixed_SOP$",                             IsParentYNYes(kModalSop),                                              byKind,                               none,                                 none,                  {kModalSop}},
        {L"^Num_SVIDs_min_SOP$",                          IsParentYNYes(kModalSop),                                              byKind,                               none,                                 none,                  {kModalSop}},
        {L"^Num_SVIDs_max_SOP$",                          IsParentYNYes(kModalSop),                                              byKind,                               none,                                 none,                  {kModalSop}},
        {L"^AMA_HW_Vers$",                                ama,                                                                   byKind,                               none,                                 none,                  {kUfpProductType}},
        {L"^AMA_FW_Vers$",                                ama,                                                                   byKind,                               none,                                 none,                  {kUfpProductType}},
        {L"^AMA_VCONN_reqd$",                             ama,                                                                   byKind,                               none,                                 none,                  {kUfpProductType}},
        {L"^AMA_VCONN_power$",                            IsParentYNYes(kAmaVconn),                                              byKind,                               none,                                 none,                  {kAmaVconn}},
        {L"^AMA_VBUS_reqd$",                              ama,                                                                   byKind,                               none,                                 none,                  {kUfpProductType}},
        {L"^AMA_Superspeed_Support$",                     ama,                                                                   byKind,                               none,                                 none,                  {kUfpProductType}},
        {L"^XID$",                                        c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Data_Capable_as_USB_Host$",                   c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Data_Capable_as_USB_Device$",                 c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Product_Type$",                               c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Modal_Operation_Supported$",                  c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^USB_VID$",                                    c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^PID$",                                        c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^bcdDevice$",                                  c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Cable_HW_Vers$",                              c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Cable_FW_Vers$",                              c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Type_C_to_Type_A_B_C$",                       c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Type_C_to_Type_C_Capt_Vdm_V2$",               And(c.pd30, c.cable),                                                  byKind,                               none,                                 none,                  {kPdRevision, kProductType}},
        {L"^Type_C_to_Plug_Receptacle$",                  c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Cable_Latency$",                              IsParentValidValue(kCableProductType),                                 byKind,                               OfferCableLatencies,                  none,                  {kCableProductType}},
        {L"^Cable_Termination_Type$",                     IsParentValidValue(kCableProductType),                                 byKind,                               OfferTerminations,                    none,                  {kCableProductType}},
        {L"^VBUS_through_cable$",                         c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Cable_VBUS_Current$",                         IsParentYNYes(kVbusThroughCable),                                      byKind,                               none,                                 none,                  {kVbusThroughCable}},
        {L"^Cable_SOP''_controller$",                     c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Cable_Superspeed_Support$",                   c.cable,                                                               byKind,                               none,                                 none,                  {kProductType}},
        {L"^Max_VBUS_Voltage_Vdm_V2$",                    And(c.pd30, c.cable),                                                  byKind,                               none,                                 none,                  {kPdRevision, kProductType}},
        {L"^Manufacturer_Info_Supported$",                c.cablePd30,                                                           byKind,                               none,                                 none,                  {kProductType, kPdRevision}},
        {L"^Manufacturer_Info_VID$",                      IsParentYNYes(kMfrInfoCable),                                          byKind,                               none,                                 none,                  {kMfrInfoCable}},
        {L"^Manufacturer_Info_PID$",                      IsParentYNYes(kMfrInfoCable),                                          byKind,                               none,                                 none,                  {kMfrInfoCable}},
        {L"^Chunking_Implemented$",                       c.cablePd30,                                                           byKind,                               none,                                 none,                  {kProductType, kPdRevision}},
        {L"^Security_Msgs_Supported$",                    c.cablePd30,                                                           byKind,                               none,                                 none,                  {kProductType, kPdRevision}},
        {L"^SVID_fixed$",                                 IsParentYNYes(kModalCable),                                            byKind,                               none,                                 none,                  {kModalCable}},
        {L"^Cable_num_SVIDs_min$",                        IsParentYNYes(kModalCable),                                            byKind,                               none,                                 none,                  {kModalCable}},
        {L"^Cable_num_SVIDs_max$",                        IsParentYNYes(kModalCable),                                            byKind,                               none,                                 none,                  {kModalCable}},
        {L"^ReTimer_Type$",                               Or(IsParentOrvikProductType(OPT_RETIMER), bothEndsActive),             byKind,                               none,                                 none,                  {kProductType, kTermination}},
        {L"^Repeater_Two_Type$",                          bothEndsActive,                                                        byKind,                               none,                                 none,                  {kTermination}},
    };
    // clang-format on

    for (const CRuleRecord& record : records) {
        group.Add(record);
    }
}
