#include "catalog/PageReactions.h"

#include <unordered_map>

namespace {

constexpr EChangeEvent kSelection = EChangeEvent::Selection;
constexpr EChangeEvent kText = EChangeEvent::Text;

SPageReaction Standard(EPage page, std::vector<SReactingField> fields) {
    SPageReaction row;
    row.page = page;
    row.fields = std::move(fields);
    return row;
}

std::vector<SPageReaction> BuildReactions() {
    std::vector<SPageReaction> rows;
    // clang-format off
    rows.push_back(Standard(EPage::OrvikProduct, {{L"^Connector_Type$", kSelection}, {L"^PD_Port_Type$", kSelection},
                                                  {L"^USB_PD_Support$", kSelection}, {L"^Type_C_State_Machine$", kSelection},
                                                  {L"^Port_Battery_Powered$", kSelection}, {L"^BC_1_2_Support$", kSelection}}));
    rows.push_back(Standard(EPage::Intro, {{L"^Orvik_Product_Type$", kSelection}}));
    rows.push_back(Standard(EPage::General, {{L"^Responds_To_Discov_SOP_UFP$", kSelection},
                                             {L"^Responds_To_Discov_SOP_DFP$", kSelection},
                                             {L"^PD_Specification_Revision$", kSelection},
                                             {L"^USB_Comms_Capable$", kSelection}, {L"^SOP_P_Capable$", kSelection},
                                             {L"^VCONN_Swap_To_On_Supported$", kSelection},
                                             {L"^Manufacturer_Info_Supported_Port$", kSelection}}));
    SPageReaction batteries = Standard(EPage::General,
        {{L"^Num_Fixed_Batteries$", kText, L"^Num_Swappable_Battery_Slots$"},
         {L"^Num_Swappable_Battery_Slots$", kText, L"^Num_Fixed_Batteries$"}});
    batteries.onlyWithFocus = true;
    rows.push_back(batteries);
    rows.push_back(Standard(EPage::UsbTypeC, {{L"^Type_C_Can_Act_As_Host$", kSelection, L"^Type_C_Can_Act_As_Device$"}}));
    rows.push_back(Standard(EPage::UsbTypeC, {{L"^Type_C_Can_Act_As_Device$", kSelection},
                                              {L"^Type_C_Implements_Try_SRC$", kSelection},
                                              {L"^Type_C_Implements_Try_SNK$", kSelection},
                                              {L"^Type_C_Is_Alt_Mode_Controller$", kSelection},
                                              {L"^Type_C_Is_Alt_Mode_Adapter$", kSelection},
                                              {L"^Type_C_Sources_VCONN$", kSelection}, {L"^Type_C_Port_On_Hub$", kSelection}}));
    rows.push_back(Standard(EPage::ProductPower, {{L"^Port_Source_Power_Type$", kSelection}}));
    SPageReaction hostSpeed = Standard(EPage::UsbHost, {{L"^Host_Speed$", kSelection}});
    hostSpeed.repaintedControls = {L"^Hub_Port_Number$"};
    rows.push_back(hostSpeed);
    rows.push_back(Standard(EPage::UsbHost, {{L"^Host_Truncates_DP_for_tDHPResponse$", kSelection},
                                             {L"^Host_Is_Embedded$", kSelection}, {L"^Is_DFP_On_Hub$", kSelection}}));
    rows.push_back(Standard(EPage::UsbDevice, {{L"^Device_Speed$", kSelection},
                                               {L"^Device_Truncates_DP_for_tDHPResponse$", kSelection}}));
    SPageReaction protection = Standard(EPage::Source, {{L"^PD_OC_Protection$", kSelection}, {L"^PD_OCP_Method$", kSelection}});
    protection.recoloursList = true;
    rows.push_back(protection);
    SPageReaction sourceCount = Standard(EPage::Source, {{L"^Num_Src_PDOs$", kText}});
    sourceCount.reevaluates = false;
    sourceCount.recoloursList = true;
    sourceCount.repaintsTab = true;
    rows.push_back(sourceCount);
    SPageReaction sinkCount = Standard(EPage::Sink, {{L"^Num_Snk_PDOs$", kText}});
    sinkCount.reevaluates = false;
    sinkCount.recoloursList = true;
    sinkCount.repaintsTab = true;
    rows.push_back(sinkCount);
    rows.push_back(Standard(EPage::SOPDiscovery1, {{L"^Product_Type_UFP_SOP$", kSelection},
                                                   {L"^Modal_Operation_Supported_SOP$", kSelection}}));
    SPageReaction sopCounts = Standard(EPage::SOPDiscovery2, {{L"^Num_SVIDs_min_SOP$", kText},
                                                             {L"^Num_SVIDs_max_SOP$", kText},
                                                             {L"^SVID_fixed_SOP$", kSelection}});
    sopCounts.reevaluates = false;
    sopCounts.recoloursList = true;
    sopCounts.repaintsTab = true;
    sopCounts.repaintedControls = {L"^Num_SVIDs_min_SOP$", L"^Num_SVIDs_max_SOP$"};
    rows.push_back(sopCounts);
    SPageReaction cableType = Standard(EPage::Cables1, {{L"^Product_Type$", kSelection}});
    cableType.setsProductTypeFlag = true;
    rows.push_back(cableType);
    rows.push_back(Standard(EPage::Cables1, {{L"^Manufacturer_Info_Supported$", kSelection},
                                             {L"^Modal_Operation_Supported$", kSelection},
                                             {L"^VBUS_through_cable$", kSelection},
                                             {L"^Cable_Termination_Type$", kSelection}}));
    SPageReaction cableCounts = Standard(EPage::Cables2, {{L"^Cable_num_SVIDs_min$", kText},
                                                         {L"^Cable_num_SVIDs_max$", kText},
                                                         {L"^SVID_fixed$", kSelection}});
    cableCounts.reevaluates = false;
    cableCounts.recoloursList = true;
    cableCounts.repaintsTab = true;
    cableCounts.repaintedControls = {L"^Cable_num_SVIDs_min$", L"^Cable_num_SVIDs_max$"};
    rows.push_back(cableCounts);
    rows.push_back(Standard(EPage::AMA, {{L"^AMA_VCONN_reqd$", kSelection}}));
    // clang-format on
    return rows;
}

} // namespace

const SReactingField* SPageReaction::FieldOf(const std::wstring& namePattern) const {
    for (const SReactingField& field : fields) {
        if (namePattern == field.namePattern) {
            return &field;
        }
    }
    return nullptr;
}

const std::vector<SPageReaction>& PageReactions() {
    static const std::vector<SPageReaction> rows = BuildReactions();
    return rows;
}

const SPageReaction* FindPageReaction(const std::wstring& namePattern) {
    static const std::unordered_map<std::wstring, const SPageReaction*> index = [] {
        std::unordered_map<std::wstring, const SPageReaction*> byName;
        for (const SPageReaction& row : PageReactions()) {
            for (const SReactingField& field : row.fields) {
                byName.emplace(field.namePattern, &row);
            }
        }
        return byName;
    }();
    auto it = index.find(namePattern);
    return it == index.end() ? nullptr : it->second;
}
