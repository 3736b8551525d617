#pragma once

#include "cli/CommandLine.h"

#include <string>

// The tool's help texts.
class CUsage {
public:
    static std::wstring UsageLine();
    // The whole tool's help, or one command's.
    static std::wstring Help(ECommand command);
};
