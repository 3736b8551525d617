#include "logging/Logger.h"

#include "platform/Platform.h"
#include "text/Text.h"
#include "text/Version.h"

#include <cstdio>
#include <filesystem>
#include <iostream>

namespace {

std::unique_ptr<ILogSink>& Current() {
    static std::unique_ptr<ILogSink> sink;
    return sink;
}

std::string FormatTime(const std::tm& t, const char* format) {
    char buffer[64];
    const std::size_t n = std::strftime(buffer, sizeof buffer, format, &t);
    return std::string(buffer, n);
}

class CStdioLogFile : public ILogFile {
public:
    CStdioLogFile(std::FILE* file, std::string fullPath) : file_(file), fullPath_(std::move(fullPath)) {}
    ~CStdioLogFile() override { std::fclose(file_); }
    bool WriteAndFlush(std::string_view bytes) override {
        const std::size_t n = std::fwrite(bytes.data(), 1, bytes.size(), file_);
        return n == bytes.size() && std::fflush(file_) == 0;
    }
    const std::string& FullPath() const override { return fullPath_; }

private:
    std::FILE* file_;
    std::string fullPath_;
};

class CDefaultLogPlatform : public ILogPlatform {
public:
    std::tm LocalNow() override { return orvik::platform::LocalTime(std::time(nullptr)); }
    std::unique_ptr<ILogFile> Open(const std::string& path) override {
        // Two runs started in the same second share a name: append rather than overwrite the
        // earlier run's lines and leave a stale tail behind.
        std::FILE* file = std::fopen(path.c_str(), "ab");
        if (!file) {
            return nullptr;
        }
        std::string full = path;
        try {
            std::error_code ec;
            const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
            if (!ec) {
                full = absolute.string();
            }
        } catch (const std::exception&) {
            // A folder name the 8-bit code page cannot hold: keep the name as given.
        }
        return std::make_unique<CStdioLogFile>(file, full);
    }
    void ShowMessage(const std::wstring& text) override { std::cerr << orvik::ToCp1252(text) << std::endl; }
};

} // namespace

void AppendPrintable(std::string& line, std::string_view message) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (const char c : message) {
        const auto byte = static_cast<unsigned char>(c);
        // Control bytes and DEL, and the five bytes Windows-1252 gives no character.
        if (byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 ||
            byte == 0x9D) {
            line += "\\x";
            line += kHex[byte >> 4];
            line += kHex[byte & 0x0F];
        } else {
            line += c;
        }
    }
}

ILogPlatform& DefaultLogPlatform() {
    static CDefaultLogPlatform platform;
    return platform;
}

CLogger::CLogger(const std::string& path, ILogPlatform& platform) : path_(path), platform_(platform) {
    file_ = platform_.Open(path);
    if (!file_) {
        platform_.ShowMessage(orvik::Format(L"Unable to open log file %s for writing. Logging disabled.",
                                            {orvik::FromCp1252(path)}));
        return;
    }
    path_ = file_->FullPath();
    enabled_ = true;
}

void CLogger::Write(std::string_view message) {
    if (!enabled_) {
        return;
    }
    std::string line = FormatTime(platform_.LocalNow(), "%Y-%m-%d %H:%M:%S");
    line += ":  ";
    AppendPrintable(line, message);
    line += "\r\n";
    if (!file_->WriteAndFlush(line)) {
        enabled_ = false;
        platform_.ShowMessage(orvik::Format(L"Cannot write to log file %s. Logging disabled.",
                                            {orvik::FromCp1252(file_->FullPath())}));
    }
}

std::string LogFileName(const std::tm& startTime) {
    return "OrvikGenerator_" + FormatTime(startTime, "%Y-%m-%d %H-%M-%S") + ".log";
}

void StartLogger() {
    StartLogger(DefaultLogPlatform());
}

void StartLogger(ILogPlatform& platform) {
    if (Current()) {
        return;
    }
    Current() = std::make_unique<CLogger>(LogFileName(platform.LocalNow()), platform);
    Log(orvik::ProducerText());
    Log(std::string_view("Initializing logger."));
}

void SetLogSink(std::unique_ptr<ILogSink> sink) {
    Current() = std::move(sink);
}

ILogSink* CurrentLogSink() {
    return Current().get();
}

void StopLogger() {
    if (!Current()) {
        return;
    }
    Log(std::string_view("Shutting down logger."));
    Current().reset();
}

void Log(std::string_view message) {
    if (ILogSink* sink = Current().get()) {
        try {
            sink->Write(message);
        } catch (...) {
            // Logging never ends the program.
        }
    }
}

void Log(std::wstring_view message) {
    if (Current()) {
        Log(std::string_view(orvik::ToCp1252(message)));
    }
}
