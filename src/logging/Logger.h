#pragma once

#include <ctime>
#include <memory>
#include <string>
#include <string_view>

// Where log lines go. The run's log file is one sink; the command-line tool uses a sink on
// standard error.
class ILogSink {
public:
    virtual ~ILogSink() = default;
    // One line for one call; `message` is 8-bit (Windows-1252) text. Never throws.
    virtual void Write(std::string_view message) = 0;
};

// An open log file: writes and flushes in one go, and says whether that worked.
class ILogFile {
public:
    virtual ~ILogFile() = default;
    virtual bool WriteAndFlush(std::string_view bytes) = 0;
    virtual const std::string& FullPath() const = 0;
};

// The services the logger uses, so that tests can stand in for them.
class ILogPlatform {
public:
    virtual ~ILogPlatform() = default;
    virtual std::tm LocalNow() = 0;
    // Opens `path` for writing, creating it when absent and appending when present; null on failure.
    virtual std::unique_ptr<ILogFile> Open(const std::string& path) = 0;
    // A message box with an OK button and no icon.
    virtual void ShowMessage(const std::wstring& text) = 0;
};

// The platform of a real run: the system clock, files in the current directory, and messages on
// standard error until a window toolkit installs its own.
ILogPlatform& DefaultLogPlatform();

// The per-run log file: "<time stamp>:  <message>" lines with CR LF, flushed one by one. A failure to
// open or to write is reported once and disables the logger for good.
class CLogger : public ILogSink {
public:
    CLogger(const std::string& path, ILogPlatform& platform);
    void Write(std::string_view message) override;
    bool IsEnabled() const { return enabled_; }
    const std::string& Path() const { return path_; }

private:
    bool enabled_ = false;
    std::string path_;
    ILogPlatform& platform_;
    std::unique_ptr<ILogFile> file_;
};

// `message` appended to `line` as one line of printable Windows-1252 text: control bytes, DEL and
// the bytes the code page leaves undefined are written as "\x00".
void AppendPrintable(std::string& line, std::string_view message);

// "OrvikGenerator_2026-12-08 02-13-40.log" for a start at that local time.
std::string LogFileName(const std::tm& startTime);

// Starts the run's log file in the current directory; does nothing when a logger exists.
void StartLogger();
void StartLogger(ILogPlatform& platform);
// Installs another sink as the process-wide logger (replacing any), or removes it with null.
void SetLogSink(std::unique_ptr<ILogSink> sink);
ILogSink* CurrentLogSink();
// Logs "Shutting down logger." and removes the logger; later calls to Log do nothing.
void StopLogger();

void Log(std::string_view message);
void Log(std::wstring_view message);
