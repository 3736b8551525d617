#pragma once

#include "model/FieldName.h"

// The page fields that code outside the catalog's tables refers to by name.
namespace fieldname {

inline constexpr CFieldName kOrvikProductType = L"Orvik_Product_Type";
inline constexpr CFieldName kOrvikProducer = L"$Orvik_Producer";
inline constexpr CFieldName kOrvikSpecification = L"$Orvik_Specification";
inline constexpr CFieldName kVendorName = L"$Vendor_Name";
inline constexpr CFieldName kModelPartNumber = L"$Model_Part_Number";
inline constexpr CFieldName kProductRevision = L"$Product_Revision";
inline constexpr CFieldName kTid = L"$TID";
inline constexpr CFieldName kPortLabel = L"$Port_Label";
inline constexpr CFieldName kConnectorType = L"Connector_Type";
inline constexpr CFieldName kUsbPdSupport = L"USB_PD_Support";
inline constexpr CFieldName kPdPortType = L"PD_Port_Type";
inline constexpr CFieldName kPdSpecificationRevision = L"PD_Specification_Revision";
inline constexpr CFieldName kPdOcpMethod = L"PD_OCP_Method";
inline constexpr CFieldName kPortBatteryPowered = L"Port_Battery_Powered";
inline constexpr CFieldName kBc12Support = L"BC_1_2_Support";
inline constexpr CFieldName kUnconstrainedPower = L"Unconstrained_Power";
inline constexpr CFieldName kUsbCommsCapable = L"USB_Comms_Capable";
inline constexpr CFieldName kTrySrc = L"Type_C_Implements_Try_SRC";
inline constexpr CFieldName kTrySnk = L"Type_C_Implements_Try_SNK";
inline constexpr CFieldName kCanActAsHost = L"Type_C_Can_Act_As_Host";
inline constexpr CFieldName kCanActAsDevice = L"Type_C_Can_Act_As_Device";
inline constexpr CFieldName kAltModeAdapter = L"Type_C_Is_Alt_Mode_Adapter";
inline constexpr CFieldName kHostSpeed = L"Host_Speed";
inline constexpr CFieldName kDeviceSpeed = L"Device_Speed";
inline constexpr CFieldName kPdPowerAsSource = L"PD_Power_as_Source";
inline constexpr CFieldName kPdPowerAsSink = L"PD_Power_as_Sink";
inline constexpr CFieldName kProductTypeUfpSop = L"Product_Type_UFP_SOP";
inline constexpr CFieldName kHubPortNumber = L"Hub_Port_Number";
inline constexpr CFieldName kNumSrcPdos = L"Num_Src_PDOs";
inline constexpr CFieldName kNumSnkPdos = L"Num_Snk_PDOs";
inline constexpr CFieldName kModalOperationSop = L"Modal_Operation_Supported_SOP";
inline constexpr CFieldName kModalOperationCable = L"Modal_Operation_Supported";
inline constexpr CFieldName kSvidFixedSop = L"SVID_fixed_SOP";
inline constexpr CFieldName kNumSvidsMinSop = L"Num_SVIDs_min_SOP";
inline constexpr CFieldName kNumSvidsMaxSop = L"Num_SVIDs_max_SOP";
inline constexpr CFieldName kSvidFixedCable = L"SVID_fixed";
inline constexpr CFieldName kCableNumSvidsMin = L"Cable_num_SVIDs_min";
inline constexpr CFieldName kCableNumSvidsMax = L"Cable_num_SVIDs_max";

} // namespace fieldname

// The questions of the repeated items, each named by its pattern: the number after the name (a PDO's,
// an SVID's, an SVID's and its mode's) is the item's.
namespace fieldname {

inline constexpr CFieldName kSrcPdoSupplyType = L"Src_PDO_Supply_Type([0-9]+)";
inline constexpr CFieldName kSrcPdoPeakCurrent = L"Src_PDO_Peak_Current([0-9]+)";
inline constexpr CFieldName kSrcPdoVoltage = L"Src_PDO_Voltage([0-9]+)";
inline constexpr CFieldName kSrcPdoMaxCurrent = L"Src_PDO_Max_Current([0-9]+)";
inline constexpr CFieldName kSrcPdoMinVoltage = L"Src_PDO_Min_Voltage([0-9]+)";
inline constexpr CFieldName kSrcPdoMaxVoltage = L"Src_PDO_Max_Voltage([0-9]+)";
inline constexpr CFieldName kSrcPdoMaxPower = L"Src_PDO_Max_Power([0-9]+)";
inline constexpr CFieldName kSrcOcDebounce = L"Src_PD_OCP_OC_Debounce([0-9]+)";
inline constexpr CFieldName kSrcOcThreshold = L"Src_PD_OCP_OC_Threshold([0-9]+)";
inline constexpr CFieldName kSrcUvDebounce = L"Src_PD_OCP_UV_Debounce([0-9]+)";
inline constexpr CFieldName kSrcUvThresholdType = L"Src_PD_OCP_UV_Threshold_Type([0-9]+)";
inline constexpr CFieldName kSrcUvThreshold = L"Src_PD_OCP_UV_Threshold([0-9]+)";

inline constexpr CFieldName kSnkPdoSupplyType = L"Snk_PDO_Supply_Type([0-9]+)";
inline constexpr CFieldName kSnkPdoVoltage = L"Snk_PDO_Voltage([0-9]+)";
inline constexpr CFieldName kSnkPdoOpPower = L"Snk_PDO_Op_Power([0-9]+)";
inline constexpr CFieldName kSnkPdoMinVoltage = L"Snk_PDO_Min_Voltage([0-9]+)";
inline constexpr CFieldName kSnkPdoMaxVoltage = L"Snk_PDO_Max_Voltage([0-9]+)";
inline constexpr CFieldName kSnkPdoOpCurrent = L"Snk_PDO_Op_Current([0-9]+)";

inline constexpr CFieldName kSopSvid = L"SVID([0-9]+)_SOP";
inline constexpr CFieldName kSopModesFixed = L"SVID([0-9]+)_modes_fixed_SOP";
inline constexpr CFieldName kSopNumModesMin = L"SVID([0-9]+)_num_modes_min_SOP";
inline constexpr CFieldName kSopNumModesMax = L"SVID([0-9]+)_num_modes_max_SOP";
inline constexpr CFieldName kSopModeEnter = L"SVID([0-9]+)_mode([0-9]+)_enter_SOP";
inline constexpr CFieldName kSopModeRecogMask = L"SVID([0-9]+)_mode([0-9]+)_recog_mask_SOP";
inline constexpr CFieldName kSopModeRecogValue = L"SVID([0-9]+)_mode([0-9]+)_recog_value_SOP";

inline constexpr CFieldName kCableSvid = L"SVID([0-9]+)";
inline constexpr CFieldName kCableModesFixed = L"SVID([0-9]+)_modes_fixed";
inline constexpr CFieldName kCableNumModesMin = L"SVID([0-9]+)_num_modes_min";
inline constexpr CFieldName kCableNumModesMax = L"SVID([0-9]+)_num_modes_max";
inline constexpr CFieldName kCableModeEnter = L"SVID([0-9]+)_mode([0-9]+)_enter";
inline constexpr CFieldName kCableModeRecogMask = L"SVID([0-9]+)_mode([0-9]+)_recog_mask";
inline constexpr CFieldName kCableModeRecogValue = L"SVID([0-9]+)_mode([0-9]+)_recog_value";

} // namespace fieldname
