#pragma once

#include "logging/Logger.h"

// The tool's log: every message on its own line on standard error, without time stamp. The tool
// writes no log file.
class CConsoleLog : public ILogSink {
public:
    void Write(std::string_view message) override;
};
