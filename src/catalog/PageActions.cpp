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

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>

namespace pagerules {

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

const FieldPredicate
    IsPortPd30({fieldname::kOrvikProductType, fieldname::kPdSpecificationRevision},
               Worded(
                   [](const CParameterField* field) {
                       RequireField(field);
                       if (ParentIntValue(field, fieldname::kOrvikProductType) == OPT_CABLE) {
                           return false;
                       }
                       return ParentIntValue(field, fieldname::kPdSpecificationRevision) == PDREV_30;
                   },
                   [] {
                       return IsNotWords(fieldname::kOrvikProductType, {OPT_CABLE}) + L" and " +
                              IsWords(fieldname::kPdSpecificationRevision, {PDREV_30});
                   }));

const FieldPredicate
    IsCablePd30({fieldname::kOrvikProductType, fieldname::kPdSpecificationRevision},
                Worded(
                    [](const CParameterField* field) {
                        RequireField(field);
                        return ParentIntValue(field, fieldname::kOrvikProductType) == OPT_CABLE &&
                               ParentIntValue(field, fieldname::kPdSpecificationRevision) == PDREV_30;
                    },
                    [] {
                        return IsWords(fieldname::kOrvikProductType, {OPT_CABLE}) + L" and " +
                               IsWords(fieldname::kPdSpecificationRevision, {PDREV_30});
                    }));

const FieldPredicate IsTypeCDrp({kStateMachine}, Worded(
                                                     [](const CParameterField* field) {
                                                         RequireField(field);
                                                         return ParentIntValue(field, kStateMachine) ==
                                                                TCSM_DRP;
                                                     },
                                                     [] { return IsWords(kStateMachine, {TCSM_DRP}); }));

const FieldPredicate IsTypeCSourceSide({kStateMachine},
                                       Worded(
                                           [](const CParameterField* field) {
                                               RequireField(field);
                                               const int stateMachine = ParentIntValue(field, kStateMachine);
                                               return stateMachine == TCSM_SRC || stateMachine == TCSM_DRP;
                                           },
                                           [] {
                                               return IsWords(kStateMachine, {TCSM_SRC, TCSM_DRP});
                                           }));

const FieldPredicate IsTypeCSinkSide({kStateMachine},
                                     Worded(
                                         [](const CParameterField* field) {
                                             RequireField(field);
                                             const int stateMachine = ParentIntValue(field, kStateMachine);
                                             return stateMachine == TCSM_SNK || stateMachine == TCSM_DRP;
                                         },
                                         [] {
                                             return IsWords(kStateMachine, {TCSM_SNK, TCSM_DRP});
                                         }));

const FieldPredicate IsConsumerOnlySink({fieldname::kPdPortType, kStateMachine},
                                        Worded(
                                            [](const CParameterField* field) {
                                                RequireField(field);
                                                return ParentIntValue(field, fieldname::kPdPortType) ==
                                                           PPT_CONSUMER_ONLY &&
                                                       ParentIntValue(field, kStateMachine) == TCSM_SNK;
                                            },
                                            [] {
                                                return IsWords(fieldname::kPdPortType, {PPT_CONSUMER_ONLY}) +
                                                       L" and " + IsWords(kStateMachine, {TCSM_SNK});
                                            }));

const FieldPredicate
    IsNotProviderOnly({fieldname::kPdPortType},
                      Worded(
                          [](const CParameterField* field) {
                              RequireField(field);
                              return ParentIntValue(field, fieldname::kPdPortType) != PPT_PROVIDER_ONLY;
                          },
                          [] { return IsNotWords(fieldname::kPdPortType, {PPT_PROVIDER_ONLY}); }));

const FieldPredicate IsTypeCSourceSideOnTypeCPage(
    {kStateMachine}, Worded(
                         [](const CParameterField* field) {
                             RequireField(field);
                             return IsHostedOn(field, EPage::UsbTypeC) && IsTypeCSourceSide(field);
                         },
                         [] { return IsTypeCSourceSide.Words() + L" (on the USB Type-C tab)"; }));

const FieldPredicate
    IsTypeCSinkSideOnTypeCPage({kStateMachine},
                               Worded(
                                   [](const CParameterField* field) {
                                       RequireField(field);
                                       return IsHostedOn(field, EPage::UsbTypeC) && IsTypeCSinkSide(field);
                                   },
                                   [] { return IsTypeCSinkSide.Words() + L" (on the USB Type-C tab)"; }));

const FieldPredicate IsConsumerOnlySinkOnTypeCPage(
    {fieldname::kPdPortType, kStateMachine},
    Worded(
        [](const CParameterField* field) {
            RequireField(field);
            return IsHostedOn(field, EPage::UsbTypeC) && IsConsumerOnlySink(field);
        },
        [] { return IsConsumerOnlySink.Words() + L" (on the USB Type-C tab)"; }));

const SSharedConditions& SharedConditions() {
    static const SSharedConditions conditions;
    return conditions;
}

// ---- validity checks ----

// A battery-powered port declares at least one battery or battery slot.
FieldPredicate BatteryCountCheck(const wchar_t* partnerName) {
    return Worded(
        [partnerName](const CParameterField* field) {
            RequireField(field);
            if (!field->IsValid()) {
                return false;
            }
            const IPageContext& page = RequireHost(field, EPage::General);
            if (!IsYes(page.FormField(fieldname::kPortBatteryPowered))) {
                return true;
            }
            return DecimalOf(field) + DecimalOf(page.PageField(partnerName)) != 0;
        },
        [partnerName] {
            return L"it and " + QuestionWords(partnerName) + L" are not both 0 while " +
                   IsWords(fieldname::kPortBatteryPowered, {YN_YES}, true);
        });
}

// A port cannot try to be both source and sink.
FieldPredicate TryCheck(const wchar_t* partnerName) {
    return Worded(
        [partnerName](const CParameterField* field) {
            RequireField(field);
            if (!field->IsValid()) {
                return false;
            }
            const IPageContext* page = HostPage(field);
            const CParameterField* partner = page ? page->PageField(partnerName) : nullptr;
            return !(IsYes(field) && IsYes(partner));
        },
        [partnerName] { return L"it and " + QuestionWords(partnerName) + L" are not both YES"; });
}

// A port capable of USB communication acts as host or device; one that is not acts as neither.
FieldPredicate RoleCheck(const wchar_t* partnerName) {
    return Worded(
        [partnerName](const CParameterField* field) {
            RequireField(field);
            if (!field->IsValid()) {
                return false;
            }
            const IPageContext& page = RequireHost(field, EPage::UsbTypeC);
            const int comms = ChoiceOf(page.FormField(fieldname::kUsbCommsCapable));
            if (IsYes(comms)) {
                return !(IsNo(field) && IsNo(page.PageField(partnerName)));
            }
            if (IsNo(comms)) {
                return !IsYes(field);
            }
            return true;
        },
        [partnerName] {
            return L"it and " + QuestionWords(partnerName) + L" are not both NO while " +
                   IsWords(fieldname::kUsbCommsCapable, {YN_YES}, true) + L", and it is not YES while " +
                   IsWords(fieldname::kUsbCommsCapable, {YN_NO}, true);
        });
}

// PD Power comes in 500 mW steps up to 10 W and in whole watts above.
const FieldPredicate
    PowerCheck({}, Worded(
                       [](const CParameterField* field) {
                           RequireField(field);
                           if (!field->IsValid()) {
                               return false;
                           }
                           std::uint32_t power = 0;
                           if (!TryTextToUnsigned(field->Value(), power)) {
                               return false;
                           }
                           return power % 500 == 0 && (power <= 10000 || power % 1000 == 0);
                       },
                       [] { return std::wstring(L"it is a multiple of 500 (of 1000 above 10000)"); }));

// ---- actions ----

void ForceYesNo(CParameterField* field, EYesNo value) {
    field->Force(IsYes(value) ? L"YES" : L"NO");
}

const COptionList& StateMachineChoices() {
    static const COptionList choices{{TCSM_SRC, L"SRC"}, {TCSM_SNK, L"SNK"}, {TCSM_DRP, L"DRP"}};
    return choices;
}

const COptionList& Bc12RoleChoices() {
    static const COptionList choices{{BC12_NONE, L"None"},
                                     {BC12_PORTABLE_DEVICE, L"Portable Device"},
                                     {BC12_CHARGING_PORT, L"Charging Port"},
                                     {BC12_BOTH, L"Both"}};
    return choices;
}

const COptionList& UfpProductTypeChoices() {
    static const COptionList choices{{PT_UNDEFINED, L"Undefined"},
                                     {PT_PDUSB_HUB, L"PDUSB Hub"},
                                     {PT_PDUSB_PERIPHERAL, L"PDUSB Peripheral"},
                                     {PT_AMA, L"Alternate Mode Adapter (AMA)"}};
    return choices;
}

const COptionList& DfpProductTypeChoices() {
    static const COptionList choices{{PT_UNDEFINED, L"Undefined"},
                                     {PT_PDUSB_HUB, L"PDUSB Hub"},
                                     {PT_PDUSB_PERIPHERAL, L"PDUSB Peripheral"},
                                     {PT_POWER_BRICK_OR_PASSIVE_CABLE, L"Power Brick"},
                                     {PT_AMC_OR_ACTIVE_CABLE, L"Alternate Mode Controller (AMC)"}};
    return choices;
}

const COptionList& TerminationChoices() {
    static const COptionList choices{
        {CTT_PASSIVE_NO_VCONN, L"Both ends Passive, VCONN not required"},
        {CTT_PASSIVE_VCONN, L"Both ends Passive, VCONN required"},
        {CTT_ONE_ACTIVE_VCONN, L"One end Active, one end passive, VCONN required"},
        {CTT_BOTH_ACTIVE_VCONN, L"Both ends Active, VCONN required"}};
    return choices;
}

namespace {

// The choices of `all` with the ids `ids`, in the order of `all`.
COptionList Among(const COptionList& all, std::initializer_list<int> ids) {
    COptionList options;
    for (const COption& option : all) {
        if (std::find(ids.begin(), ids.end(), option.first) != ids.end()) {
            options.push_back(option);
        }
    }
    return options;
}

} // namespace

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
    if (!list->IsValid()) {
        list->SetValue(std::wstring());
    }
}

const FieldAction
    SteerPdSupport({fieldname::kOrvikProductType, fieldname::kConnectorType},
                   Worded(
                       [](CParameterField* field) {
                           RequireField(field);
                           const int productType = ChoiceOf(field, fieldname::kOrvikProductType);
                           if (productType == OPT_CABLE) {
                               ForceYesNo(field, YN_YES);
                           } else if (productType == OPT_PORT) {
                               if (ChoiceOf(field, fieldname::kConnectorType) == CT_TYPE_C) {
                                   field->MakeEditable();
                               } else {
                                   ForceYesNo(field, YN_NO);
                               }
                           }
                       },
                       [] {
                           return L"set to YES when " + IsWords(fieldname::kOrvikProductType, {OPT_CABLE}) +
                                  L"; when " + IsWords(fieldname::kOrvikProductType, {OPT_PORT}) +
                                  L", free if " + IsWords(fieldname::kConnectorType, {CT_TYPE_C}) +
                                  L" and set to NO if not";
                       }));

const FieldAction OfferStateMachines({fieldname::kUsbPdSupport, fieldname::kPdPortType},
                                     Worded(
                                         [](CParameterField* field) {
                                             RequireField(field);
                                             const COptionList& all = StateMachineChoices();
                                             if (IsNo(YesNoOf(field, fieldname::kUsbPdSupport))) {
                                                 auto* list = FieldCast<CPulldownListField>(field);
                                                 const std::wstring previous = list->Value();
                                                 list->SetOptions(all);
                                                 list->MakeEditable();
                                                 list->SetValue(previous);
                                                 return;
                                             }
                                             COptionList options;
                                             switch (ChoiceOf(field, fieldname::kPdPortType)) {
                                             case PPT_CONSUMER_ONLY:
                                                 options = Among(all, {TCSM_SNK});
                                                 break;
                                             case PPT_CONSUMER_PROVIDER:
                                                 options = Among(all, {TCSM_SNK, TCSM_DRP});
                                                 break;
                                             case PPT_PROVIDER_CONSUMER:
                                                 options = Among(all, {TCSM_SRC, TCSM_DRP});
                                                 break;
                                             case PPT_PROVIDER_ONLY:
                                                 options = Among(all, {TCSM_SRC});
                                                 break;
                                             case PPT_DRP:
                                                 options = Among(all, {TCSM_DRP});
                                                 break;
                                             default:
                                                 break;
                                             }
                                             OfferChoices(field, options);
                                         },
                                         [] {
                                             return L"the choices follow " +
                                                    QuestionWords(fieldname::kPdPortType) +
                                                    L"; all three while " +
                                                    IsWords(fieldname::kUsbPdSupport, {YN_NO}, true) +
                                                    L"; a single choice is set";
                                         }));

const FieldAction OfferBc12Roles(
    {kStateMachine, fieldname::kConnectorType, fieldname::kPortBatteryPowered},
    Worded(
        [](CParameterField* field) {
            RequireField(field);
            const int stateMachine = ChoiceOf(field, kStateMachine);
            const int connector = ChoiceOf(field, fieldname::kConnectorType);
            const bool portableDevice =
                (stateMachine == TCSM_SNK || stateMachine == TCSM_DRP || connector == CT_TYPE_B) &&
                IsYes(YesNoOf(field, fieldname::kPortBatteryPowered));
            const bool chargingPort =
                stateMachine == TCSM_SRC || stateMachine == TCSM_DRP || connector == CT_TYPE_A;
            OfferChoices(
                field, Among(Bc12RoleChoices(), {BC12_NONE, portableDevice ? BC12_PORTABLE_DEVICE : BC12_NONE,
                                                 chargingPort ? BC12_CHARGING_PORT : BC12_NONE,
                                                 portableDevice && chargingPort ? BC12_BOTH : BC12_NONE}));
        },
        [] {
            return L"the choices follow " + QuestionWords(kStateMachine) + L", " +
                   QuestionWords(fieldname::kConnectorType) + L" and " +
                   QuestionWords(fieldname::kPortBatteryPowered) +
                   L": Portable Device for a battery-powered sink side, Charging Port for a source side";
        }));

const FieldAction ForbidSopWithoutPd({fieldname::kOrvikProductType, fieldname::kUsbPdSupport},
                                     Worded(
                                         [](CParameterField* field) {
                                             RequireField(field);
                                             if (ChoiceOf(field, fieldname::kOrvikProductType) == OPT_CABLE ||
                                                 !IsYes(YesNoOf(field, fieldname::kUsbPdSupport))) {
                                                 ForceYesNo(field, YN_NO);
                                             }
                                         },
                                         [] {
                                             return L"set to NO when " +
                                                    IsWords(fieldname::kOrvikProductType, {OPT_CABLE}) +
                                                    L" or " +
                                                    IsNotWords(fieldname::kUsbPdSupport, {YN_YES}, true);
                                         }));

const FieldAction FollowSopPCapable({kSopP}, Worded(
                                                 [](CParameterField* field) {
                                                     RequireField(field);
                                                     const int sopP = YesNoOf(field, kSopP);
                                                     if (IsYes(sopP)) {
                                                         field->MakeEditable();
                                                     } else if (IsNo(sopP)) {
                                                         ForceYesNo(field, YN_NO);
                                                     } else {
                                                         field->SetValue(std::wstring());
                                                         field->SetEnabled(false);
                                                     }
                                                 },
                                                 [] {
                                                     return L"free when " + IsWords(kSopP, {YN_YES}, true) +
                                                            L", set to NO when " +
                                                            IsWords(kSopP, {YN_NO}, true) +
                                                            L", cleared and greyed while it is unanswered";
                                                 }));

// A port that can only take one data role, or must take it for its alternate mode, accepts the
// swap to that role.
FieldAction SteerDataRoleSwap(const wchar_t* ownRole, const wchar_t* otherRole, const wchar_t* altMode,
                              ETypeCStateMachine roleState) {
    // The two roles weighed are the host and the device answers, whichever the swap is to.
    return FieldAction(
        {kStateMachine, fieldname::kCanActAsHost, fieldname::kCanActAsDevice, altMode},
        Worded(
            [=](CParameterField* field) {
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
            },
            [=] {
                return L"set to YES when " + IsWords(kStateMachine, {TCSM_DRP}) + L", " +
                       IsWords(ownRole, {YN_YES}, true) + L" and " + IsWords(otherRole, {YN_NO}, true) +
                       L", or when " + IsWords(kStateMachine, {roleState}) + L" and " +
                       QuestionWords(ownRole) + L" or " + QuestionWords(altMode) + L" is YES; free otherwise";
            }));
}

// Forced YES while the parent reads YES, editable otherwise.
FieldAction ForceYesWhile(const wchar_t* parentName) {
    return FieldAction({parentName}, Worded(
                                         [parentName](CParameterField* field) {
                                             RequireField(field);
                                             if (IsYes(YesNoOf(field, parentName))) {
                                                 ForceYesNo(field, YN_YES);
                                             } else {
                                                 field->MakeEditable();
                                             }
                                         },
                                         [parentName] {
                                             return L"set to YES while " +
                                                    IsWords(parentName, {YN_YES}, true) + L"; free otherwise";
                                         }));
}

// No USB communication means neither data role; a sink-only port is no host, a source-only port
// no device.
FieldAction ForbidImpossibleDataRole(ETypeCStateMachine excludingState) {
    return FieldAction({fieldname::kUsbCommsCapable, kStateMachine},
                       Worded(
                           [excludingState](CParameterField* field) {
                               RequireField(field);
                               if (IsNo(YesNoOf(field, fieldname::kUsbCommsCapable)) ||
                                   ChoiceOf(field, kStateMachine) == excludingState) {
                                   ForceYesNo(field, YN_NO);
                               }
                           },
                           [excludingState] {
                               return L"set to NO when " +
                                      IsWords(fieldname::kUsbCommsCapable, {YN_NO}, true) + L" or " +
                                      IsWords(kStateMachine, {excludingState});
                           }));
}

const FieldAction AllowAltModeAdapterWhenDiscoverable(
    {kDiscovUfp},
    Worded(
        [](CParameterField* field) {
            RequireField(field);
            if (IsYes(YesNoOf(field, kDiscovUfp))) {
                field->MakeEditable();
            } else {
                ForceYesNo(field, YN_NO);
            }
        },
        [] { return L"free when " + IsWords(kDiscovUfp, {YN_YES}, true) + L"; set to NO otherwise"; }));

const FieldAction SteerHostSuspend({kHostEmbedded},
                                   Worded(
                                       [](CParameterField* field) {
                                           RequireField(field);
                                           const int embedded = YesNoOf(field, kHostEmbedded);
                                           if (IsYes(embedded)) {
                                               field->MakeEditable();
                                           } else if (IsNo(embedded)) {
                                               ForceYesNo(field, YN_YES);
                                           }
                                       },
                                       [] {
                                           return L"free when " + IsWords(kHostEmbedded, {YN_YES}, true) +
                                                  L"; set to YES when " +
                                                  IsWords(kHostEmbedded, {YN_NO}, true);
                                       }));

const FieldAction FollowPortOnHub(
    {fieldname::kConnectorType, kPortOnHub},
    Worded(
        [](CParameterField* field) {
            RequireField(field);
            if (ChoiceOf(field, fieldname::kConnectorType) == CT_TYPE_C) {
                field->Force(GetParentAs<CYesNoPulldownListField>(field, kPortOnHub.Pattern())->Value());
            }
        },
        [] {
            return L"set to the answer of " + QuestionWords(kPortOnHub) + L" when " +
                   IsWords(fieldname::kConnectorType, {CT_TYPE_C});
        }));

// USB 2 hubs address up to 255 ports, SuperSpeed hubs up to 15.
const FieldAction RangeHubPortNumber(
    {kDfpOnHub, fieldname::kHostSpeed},
    Worded(
        [](CParameterField* field) {
            RequireHost(field, EPage::UsbHost);
            auto* number = FieldCast<CNumEditField>(field);
            const int speed = IsYes(YesNoOf(field, kDfpOnHub)) ? ChoiceOf(field, fieldname::kHostSpeed) : -1;
            if (speed == USB_2) {
                number->SetRangeAndScale(1, 255, number->Scale(), false);
                number->MakeEditable();
            } else if (speed >= USB_32_GEN1X1 && speed <= USB_32_GEN2X2) {
                number->SetRangeAndScale(1, 15, number->Scale(), false);
                number->MakeEditable();
            } else {
                number->SetEnabled(false);
                number->SetRangeAndScale(0, 0, number->Scale(), false);
            }
        },
        [] {
            return L"from 1 to 255 when " + IsWords(kDfpOnHub, {YN_YES}, true) + L" and " +
                   IsWords(fieldname::kHostSpeed, {USB_2}) + L", from 1 to 15 for a faster " +
                   QuestionWords(fieldname::kHostSpeed) + L"; greyed otherwise";
        }));

const FieldAction UsePowerInMilliwatts(
    {}, Worded([](CParameterField* field) { FieldCast<CNumEditField>(field)->SetScaleAndUnits(1, L"mW"); },
               [] { return std::wstring(L"typed and stored in mW"); }));

FieldAction ForceToParent(const wchar_t* parentName) {
    return FieldAction({parentName},
                       Worded(
                           [parentName](CParameterField* field) {
                               RequireField(field);
                               field->Force(GetParentAs<CYesNoPulldownListField>(field, parentName)->Value());
                           },
                           [parentName] { return L"set to the answer of " + QuestionWords(parentName); }));
}

const FieldAction OfferUfpProductTypes(
    {fieldname::kCanActAsDevice, fieldname::kAltModeAdapter},
    Worded(
        [](CParameterField* field) {
            RequireField(field);
            if (!IsYes(YesNoOf(field, fieldname::kCanActAsDevice))) {
                OfferChoices(field, Among(UfpProductTypeChoices(), {PT_UNDEFINED}));
            } else if (!IsYes(YesNoOf(field, fieldname::kAltModeAdapter))) {
                // The "Undefined" that was forced while the port could not act as a
                // device is nobody's answer: once the port can, the user chooses.
                auto* list = FieldCast<CPulldownListField>(field);
                const COptionList& before = list->Options();
                const bool wasForced = before.size() == 1 && before.front().first == PT_UNDEFINED;
                OfferChoices(
                    field, Among(UfpProductTypeChoices(), {PT_UNDEFINED, PT_PDUSB_HUB, PT_PDUSB_PERIPHERAL}));
                if (wasForced) {
                    list->SetValue(std::wstring());
                }
            } else {
                OfferChoices(field, Among(UfpProductTypeChoices(), {PT_AMA}));
            }
        },
        [] {
            return L"the choices follow " + QuestionWords(fieldname::kCanActAsDevice) + L" and " +
                   QuestionWords(fieldname::kAltModeAdapter);
        }));

const FieldAction
    OfferDfpProductTypes({fieldname::kCanActAsHost, kAltController},
                         Worded(
                             [](CParameterField* field) {
                                 RequireField(field);
                                 const COptionList& all = DfpProductTypeChoices();
                                 if (!IsYes(YesNoOf(field, fieldname::kCanActAsHost))) {
                                     OfferChoices(field, all);
                                 } else if (IsYes(YesNoOf(field, kAltController))) {
                                     OfferChoices(field, Among(all, {PT_AMC_OR_ACTIVE_CABLE}));
                                 } else {
                                     OfferChoices(field,
                                                  Among(all, {PT_UNDEFINED, PT_PDUSB_HUB, PT_PDUSB_PERIPHERAL,
                                                              PT_POWER_BRICK_OR_PASSIVE_CABLE}));
                                 }
                             },
                             [] {
                                 return L"the choices follow " + QuestionWords(fieldname::kCanActAsHost) +
                                        L" and " + QuestionWords(kAltController);
                             }));

const FieldAction OfferCableLatencies(
    {kCableProductType},
    Worded(
        [](CParameterField* field) {
            RequireField(field);
            auto* list = FieldCast<CPulldownListField>(field);
            COptionList options{{1, L"<10ns"},       {2, L"10ns - 20ns"}, {3, L"20ns - 30ns"},
                                {4, L"30ns - 40ns"}, {5, L"40ns - 50ns"}, {6, L"50ns - 60ns"},
                                {7, L"60ns - 70ns"}};
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
            if (cablePage) {
                page->SetProductTypeChanged(false);
            }
        },
        [] { return L"the choices follow " + QuestionWords(kCableProductType); }));

const FieldAction OfferTerminations(
    {kCableProductType},
    Worded(
        [](CParameterField* field) {
            RequireHost(field, EPage::Cables1);
            auto* list = FieldCast<CPulldownListField>(field);
            switch (ChoiceOf(field, kCableProductType)) {
            case PT_POWER_BRICK_OR_PASSIVE_CABLE:
                list->SetOptions(Among(TerminationChoices(), {CTT_PASSIVE_NO_VCONN, CTT_PASSIVE_VCONN}));
                break;
            case PT_AMC_OR_ACTIVE_CABLE:
                list->SetOptions(Among(TerminationChoices(), {CTT_ONE_ACTIVE_VCONN, CTT_BOTH_ACTIVE_VCONN}));
                break;
            default:
                list->SetOptions({});
                break;
            }
            if (!list->IsValid()) {
                list->SetValue(std::wstring());
            }
        },
        [] { return L"the choices follow " + QuestionWords(kCableProductType); }));

} // namespace pagerules
