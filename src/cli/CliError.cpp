#include "cli/CliError.h"

#include "text/Text.h"

CCliError::CCliError(EExitCode code, const std::wstring& message)
    : std::runtime_error(orvik::ToUtf8(message)), code_(code), message_(message) {}
