#include "model/Errors.h"

#include "text/Text.h"

filegen_error::filegen_error(const std::wstring& message)
    : std::runtime_error(orvik::ToCp1252(message)), message_(message) {}
