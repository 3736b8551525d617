#include "FullForm.h"

#include <cstdio>
#include <string>
#include <utility>

namespace orvik::testsupport {

namespace {

void Line(std::string& out, const std::string& name, const std::string& value) {
    out += name;
    out += ": ";
    out += value;
    out += "\r\n";
}

void Text(std::string& out, const std::string& name, const std::string& value) {
    Line(out, name, "\"" + value + "\"");
}

std::string Hex(unsigned value, int digits) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%0*X", digits, value);
    return buffer;
}

std::string N(int i) {
    return std::to_string(i);
}

void Intro(std::string& out, const char* productType) {
    Text(out, "$Vendor_Name", "Ab Co");
    Text(out, "$Model_Part_Number", "M/1");
    Text(out, "$Product_Revision", "2");
    Text(out, "$TID", "123");
    Line(out, "Orvik_Product_Type", productType);
}

} // namespace

std::string FullPortForm(int sourcePdos, int sinkPdos, int sopSvids, int modesPerSvid) {
    std::string out;
    Intro(out, "0");
    Text(out, "$Port_Label", "P1");
    // Orvik Product: a USB Type-C dual-role PD port.
    Line(out, "Connector_Type", "2");
    Line(out, "USB_PD_Support", "YES");
    Line(out, "PD_Port_Type", "4");
    Line(out, "Type_C_State_Machine", "2");
    Line(out, "Port_Battery_Powered", "NO");
    Line(out, "BC_1_2_Support", "2");
    // General PD Settings.
    Line(out, "PD_Specification_Revision", "2");
    Line(out, "SOP_Capable", "YES");
    Line(out, "SOP_P_Capable", "NO");
    Line(out, "SOP_PP_Capable", "NO");
    Line(out, "SOP_P_Debug_Capable", "NO");
    Line(out, "SOP_PP_Debug_Capable", "NO");
    Line(out, "Security_Msgs_Supported_SOP", "NO");
    Line(out, "Manufacturer_Info_Supported_Port", "YES");
    Line(out, "Manufacturer_Info_VID_Port", "0x04B4");
    Line(out, "Manufacturer_Info_PID_Port", "0x1234");
    Line(out, "Num_Fixed_Batteries", "0");
    Line(out, "Num_Swappable_Battery_Slots", "0");
    Line(out, "USB_Comms_Capable", "YES");
    Line(out, "DR_Swap_To_DFP_Supported", "YES");
    Line(out, "DR_Swap_To_UFP_Supported", "YES");
    Line(out, "Unconstrained_Power", "YES");
    Line(out, "VCONN_Swap_To_On_Supported", "YES");
    Line(out, "VCONN_Swap_To_Off_Supported", "YES");
    Line(out, "Responds_To_Discov_SOP_UFP", "YES");
    Line(out, "Responds_To_Discov_SOP_DFP", "YES");
    Line(out, "Attempts_Discov_SOP", "YES");
    Line(out, "Chunking_Implemented_SOP", "YES");
    Line(out, "Unchunked_Extended_Messages_Supported", "NO");
    // USB Type-C.
    Line(out, "Type_C_Implements_Try_SRC", "NO");
    Line(out, "Type_C_Implements_Try_SNK", "NO");
    Line(out, "RP_Value", "2");
    Line(out, "Type_C_Is_VCONN_Powered_Accessory", "NO");
    Line(out, "Type_C_Is_Debug_Target_SRC", "NO");
    Line(out, "Type_C_Is_Debug_Target_SNK", "NO");
    Line(out, "Type_C_Can_Act_As_Host", "YES");
    Line(out, "Type_C_Can_Act_As_Device", "YES");
    Line(out, "Type_C_Is_Alt_Mode_Controller", "NO");
    Line(out, "Type_C_Is_Alt_Mode_Adapter", "YES");
    Line(out, "Type_C_Power_Source", "0");
    Line(out, "Type_C_Port_On_Hub", "NO");
    Line(out, "Type_C_Supports_Audio_Accessory", "NO");
    Line(out, "Captive_Cable", "NO");
    Line(out, "Type_C_Sources_VCONN", "YES");
    // Product Power.
    Line(out, "Product_Total_Source_Power", "60");
    Line(out, "Port_Source_Power_Type", "0");
    // USB Host and USB Device.
    Line(out, "Host_Speed", "2");
    Line(out, "Host_Contains_Captive_Retimer", "NO");
    Line(out, "Host_Truncates_DP_for_tDHPResponse", "YES");
    Line(out, "Host_Gen1x1_tLinkTurnaround", "500");
    Line(out, "Host_Gen2x1_tLinkTurnaround", "800");
    Line(out, "Host_Is_Embedded", "NO");
    Line(out, "Host_Suspend_Supported", "YES");
    Line(out, "Is_DFP_On_Hub", "NO");
    Line(out, "Device_Speed", "2");
    Line(out, "Device_Contains_Captive_Retimer", "NO");
    Line(out, "Device_Truncates_DP_for_tDHPResponse", "NO");
    // Battery Charging 1.2.
    Line(out, "BC_1_2_Charging_Port_Type", "0");
    // Source and Sink.
    Line(out, "PD_Power_as_Source", "60000");
    Line(out, "USB_Suspend_May_Be_Cleared", "NO");
    Line(out, "Sends_Pings", "NO");
    Line(out, "FR_Swap_Supported_As_Source", "NO");
    Line(out, "PD_OC_Protection", "YES");
    Line(out, "PD_OCP_Method", "2");
    Line(out, "Num_Src_PDOs", N(sourcePdos));
    Line(out, "PD_Power_as_Sink", "60000");
    Line(out, "No_USB_Suspend_May_Be_Set", "NO");
    Line(out, "GiveBack_May_Be_Set", "NO");
    Line(out, "Higher_Capability_Set", "YES");
    Line(out, "FR_Swap_Reqd_Type_C_Current", "0");
    Line(out, "Num_Snk_PDOs", N(sinkPdos));
    // Dual Role.
    Line(out, "Accepts_PR_Swap_As_Src", "YES");
    Line(out, "Accepts_PR_Swap_As_Snk", "YES");
    Line(out, "Requests_PR_Swap_As_Src", "NO");
    Line(out, "Requests_PR_Swap_As_Snk", "NO");
    // SOP Discovery.
    Line(out, "XID_SOP", "0");
    Line(out, "Data_Capable_as_USB_Host_SOP", "YES");
    Line(out, "Data_Capable_as_USB_Device_SOP", "YES");
    Line(out, "Product_Type_UFP_SOP", "5");
    Line(out, "Product_Type_DFP_SOP", "2");
    Line(out, "Modal_Operation_Supported_SOP", "YES");
    Line(out, "USB_VID_SOP", "0x04B4");
    Line(out, "PID_SOP", "0x5678");
    Line(out, "bcdDevice_SOP", "0x0100");
    Line(out, "SVID_fixed_SOP", "YES");
    Line(out, "Num_SVIDs_min_SOP", N(sopSvids));
    Line(out, "Num_SVIDs_max_SOP", N(sopSvids));
    // AMA.
    Line(out, "AMA_HW_Vers", "0x1");
    Line(out, "AMA_FW_Vers", "0x2");
    Line(out, "AMA_VCONN_reqd", "NO");
    Line(out, "AMA_VBUS_reqd", "NO");
    Line(out, "AMA_Superspeed_Support", "1");

    for (int i = 1; i <= sourcePdos; ++i) {
        Line(out, "Src_PDO_Supply_Type" + N(i), "0");
        Line(out, "Src_PDO_Peak_Current" + N(i), "0");
        Line(out, "Src_PDO_Voltage" + N(i), N(100 + 20 * (i - 1))); // 5 V, then 1 V steps
        Line(out, "Src_PDO_Max_Current" + N(i), "300");             // 3 A
        Line(out, "Src_PD_OCP_OC_Debounce" + N(i), "10");
        Line(out, "Src_PD_OCP_OC_Threshold" + N(i), "400");
        Line(out, "Src_PD_OCP_UV_Debounce" + N(i), "10");
        Line(out, "Src_PD_OCP_UV_Threshold_Type" + N(i), "1");
        Line(out, "Src_PD_OCP_UV_Threshold" + N(i), "90");
    }
    for (int i = 1; i <= sinkPdos; ++i) {
        Line(out, "Snk_PDO_Supply_Type" + N(i), "0");
        Line(out, "Snk_PDO_Voltage" + N(i), N(100 + 20 * (i - 1)));
        Line(out, "Snk_PDO_Op_Current" + N(i), "300");
    }
    for (int s = 1; s <= sopSvids; ++s) {
        Line(out, "SVID" + N(s) + "_SOP", Hex(0xFF00u + static_cast<unsigned>(s), 4));
        Line(out, "SVID" + N(s) + "_modes_fixed_SOP", "YES");
        Line(out, "SVID" + N(s) + "_num_modes_min_SOP", N(modesPerSvid));
        Line(out, "SVID" + N(s) + "_num_modes_max_SOP", N(modesPerSvid));
        for (int m = 1; m <= modesPerSvid; ++m) {
            Line(out, "SVID" + N(s) + "_mode" + N(m) + "_enter_SOP", "YES");
        }
    }
    return out;
}

std::string FullCableForm(int svids, int modesPerSvid) {
    std::string out;
    Intro(out, "1");
    Line(out, "PD_Specification_Revision", "2");
    Line(out, "SOP_P_Capable", "YES");
    Line(out, "SOP_PP_Capable", "NO");
    Line(out, "SOP_P_Debug_Capable", "NO");
    Line(out, "SOP_PP_Debug_Capable", "NO");
    Line(out, "XID", "0");
    Line(out, "Data_Capable_as_USB_Host", "NO");
    Line(out, "Data_Capable_as_USB_Device", "NO");
    Line(out, "Product_Type", "3");
    Line(out, "Modal_Operation_Supported", "YES");
    Line(out, "USB_VID", "0x04B4");
    Line(out, "PID", "0x0001");
    Line(out, "bcdDevice", "0x0001");
    Line(out, "Cable_HW_Vers", "0x1");
    Line(out, "Cable_FW_Vers", "0x1");
    Line(out, "Type_C_to_Type_A_B_C", "2");
    Line(out, "Type_C_to_Type_C_Capt_Vdm_V2", "2");
    Line(out, "Type_C_to_Plug_Receptacle", "0");
    Line(out, "Cable_Latency", "1");
    Line(out, "Cable_Termination_Type", "0");
    Line(out, "VBUS_through_cable", "YES");
    Line(out, "Cable_VBUS_Current", "1");
    Line(out, "Cable_SOP''_controller", "NO");
    Line(out, "Cable_Superspeed_Support", "2");
    Line(out, "Max_VBUS_Voltage_Vdm_V2", "0");
    Line(out, "Manufacturer_Info_Supported", "NO");
    Line(out, "Chunking_Implemented", "YES");
    Line(out, "Security_Msgs_Supported", "NO");
    Line(out, "SVID_fixed", "NO");
    Line(out, "Cable_num_SVIDs_min", N(svids));
    Line(out, "Cable_num_SVIDs_max", N(svids));
    for (int s = 1; s <= svids; ++s) {
        Line(out, "SVID" + N(s), Hex(0xFF00u + static_cast<unsigned>(s), 4));
        Line(out, "SVID" + N(s) + "_modes_fixed", "NO");
        Line(out, "SVID" + N(s) + "_num_modes_min", N(modesPerSvid));
        Line(out, "SVID" + N(s) + "_num_modes_max", N(modesPerSvid));
        for (int m = 1; m <= modesPerSvid; ++m) {
            Line(out, "SVID" + N(s) + "_mode" + N(m) + "_recog_mask", "0xFFFFFFFF");
            Line(out, "SVID" + N(s) + "_mode" + N(m) + "_recog_value", Hex(static_cast<unsigned>(m), 8));
        }
    }
    return out;
}

std::string PortFormWithEverySupply() {
    // File units: voltages in 50 mV, currents in 10 mA, power in 250 mW.
    std::string text = FullPortForm(5, 1, 1, 1);
    const std::pair<const char*, const char*> edits[] = {
        {"Src_PDO_Voltage2: 120", "Src_PDO_Voltage2: 180"},
        {"Src_PDO_Supply_Type3: 0",
         "Src_PDO_Supply_Type3: 2\r\nSrc_PDO_Min_Voltage3: 100\r\nSrc_PDO_Max_Voltage3: 400"},
        {"Src_PDO_Max_Current3: 300", "Src_PDO_Max_Current3: 200"},
        {"Src_PDO_Supply_Type4: 0", "Src_PDO_Supply_Type4: 1\r\nSrc_PDO_Min_Voltage4: "
                                    "100\r\nSrc_PDO_Max_Voltage4: 400\r\nSrc_PDO_Max_Power4: 180"},
        {"Src_PDO_Voltage5: 180", "Src_PDO_Voltage5: 300"},
        {"Src_PDO_Max_Current5: 300", "Src_PDO_Max_Current5: 600"},
    };
    for (const auto& [from, to] : edits) {
        const std::size_t at = text.find(from);
        if (at != std::string::npos) {
            text.replace(at, std::string(from).size(), to);
        }
    }
    return text;
}

} // namespace orvik::testsupport
