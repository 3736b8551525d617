#pragma once

#include "logging/Logger.h"

#include <memory>
#include <string>
#include <vector>

// Collects what the code under test logs while it is in scope, in place of any process-wide logger.
class CScopedLogCapture {
public:
    CScopedLogCapture() { SetLogSink(std::make_unique<CSink>(lines_)); }
    ~CScopedLogCapture() { SetLogSink(nullptr); }
    CScopedLogCapture(const CScopedLogCapture&) = delete;
    CScopedLogCapture& operator=(const CScopedLogCapture&) = delete;

    const std::vector<std::string>& Lines() const { return lines_; }
    // Forgets what was logged so far (what setting a form up logs, say).
    void Clear() { lines_.clear(); }

private:
    class CSink : public ILogSink {
    public:
        explicit CSink(std::vector<std::string>& lines) : lines_(lines) {}
        void Write(std::string_view message) override { lines_.emplace_back(message); }

    private:
        std::vector<std::string>& lines_;
    };

    std::vector<std::string> lines_;
};
