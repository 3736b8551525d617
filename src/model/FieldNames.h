#pragma once

// The name patterns of the page fields that code outside the catalog's tables refers to by name.
namespace fieldname {

inline constexpr const wchar_t* kOrvikProductType = L"^Orvik_Product_Type$";
inline constexpr const wchar_t* kOrvikProducer = L"^\\$Orvik_Producer$";
inline constexpr const wchar_t* kOrvikSpecification = L"^\\$Orvik_Specification$";
inline constexpr const wchar_t* kVendorName = L"^\\$Vendor_Name$";
inline constexpr const wchar_t* kModelPartNumber = L"^\\$Model_Part_Number$";
inline constexpr const wchar_t* kProductRevision = L"^\\$Product_Revision$";
inline constexpr const wchar_t* kTid = L"^\\$TID$";
inline constexpr const wchar_t* kPortLabel = L"^\\$Port_Label$";
inline constexpr const wchar_t* kConnectorType = L"^Connector_Type$";
inline constexpr const wchar_t* kUsbPdSupport = L"^USB_PD_Support$";
inline constexpr const wchar_t* kPdPortType = L"^PD_Port_Type$";
inline constexpr const wchar_t* kPdSpecificationRevision = L"^PD_Specification_Revision$";
inline constexpr const wchar_t* kPdOcpMethod = L"^PD_OCP_Method$";
inline constexpr const wchar_t* kPortBatteryPowered = L"^Port_Battery_Powered$";
inline constexpr const wchar_t* kBc12Support = L"^BC_1_2_Support$";
inline constexpr const wchar_t* kUnconstrainedPower = L"^Unconstrained_Power$";
inline constexpr const wchar_t* kUsbCommsCapable = L"^USB_Comms_Capable$";
inline constexpr const wchar_t* kTrySrc = L"^Type_C_Implements_Try_SRC$";
inline constexpr const wchar_t* kTrySnk = L"^Type_C_Implements_Try_SNK$";
inline constexpr const wchar_t* kCanActAsHost = L"^Type_C_Can_Act_As_Host$";
inline constexpr const wchar_t* kCanActAsDevice = L"^Type_C_Can_Act_As_Device$";
inline constexpr const wchar_t* kAltModeAdapter = L"^Type_C_Is_Alt_Mode_Adapter$";
inline constexpr const wchar_t* kHostSpeed = L"^Host_Speed$";
inline constexpr const wchar_t* kDeviceSpeed = L"^Device_Speed$";
inline constexpr const wchar_t* kPdPowerAsSource = L"^PD_Power_as_Source$";
inline constexpr const wchar_t* kPdPowerAsSink = L"^PD_Power_as_Sink$";
inline constexpr const wchar_t* kProductTypeUfpSop = L"^Product_Type_UFP_SOP$";
inline constexpr const wchar_t* kSvidFixedSop = L"^SVID_fixed_SOP$";
inline constexpr const wchar_t* kNumSvidsMinSop = L"^Num_SVIDs_min_SOP$";
inline constexpr const wchar_t* kNumSvidsMaxSop = L"^Num_SVIDs_max_SOP$";
inline constexpr const wchar_t* kSvidFixedCable = L"^SVID_fixed$";
inline constexpr const wchar_t* kCableNumSvidsMin = L"^Cable_num_SVIDs_min$";
inline constexpr const wchar_t* kCableNumSvidsMax = L"^Cable_num_SVIDs_max$";

} // namespace fieldname
