#pragma once

#include "logging/Logger.h"

class CConsole;

// The tool's log: every message on its own line on standard error, without time stamp. The tool
// writes no log file.
class CConsoleLog : public ILogSink {
public:
    // The console must outlive the log.
    explicit CConsoleLog(CConsole& console) : console_(console) {}
    void Write(std::string_view message) override;

private:
    CConsole& console_;
};
