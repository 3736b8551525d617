#include "logging/Logger.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace {

// Clock, file and message box of a run, all in memory.
class CFakePlatform : public ILogPlatform {
public:
    std::tm LocalNow() override { return now; }
    std::unique_ptr<ILogFile> Open(const std::string& path) override {
        opened.push_back(path);
        if (openFails) {
            return nullptr;
        }
        return std::make_unique<CFile>(*this, "/runs/" + path);
    }
    void ShowMessage(const std::wstring& text) override { messages.push_back(text); }

    std::tm now = At(2026, 12, 8, 2, 14, 5);
    bool openFails = false;
    bool writeFails = false;
    std::string content;
    std::vector<std::string> opened;
    std::vector<std::wstring> messages;

    static std::tm At(int year, int month, int day, int hour, int minute, int second) {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = month - 1;
        t.tm_mday = day;
        t.tm_hour = hour;
        t.tm_min = minute;
        t.tm_sec = second;
        return t;
    }

private:
    class CFile : public ILogFile {
    public:
        CFile(CFakePlatform& platform, std::string path) : platform_(platform), path_(std::move(path)) {}
        bool WriteAndFlush(std::string_view bytes) override {
            if (platform_.writeFails) {
                return false;
            }
            platform_.content.append(bytes);
            return true;
        }
        const std::string& FullPath() const override { return path_; }

    private:
        CFakePlatform& platform_;
        std::string path_;
    };
};

// Every test starts and ends without a process-wide logger.
class Logger : public ::testing::Test {
protected:
    void SetUp() override { SetLogSink(nullptr); }
    void TearDown() override { SetLogSink(nullptr); }

    CFakePlatform platform;
};

TEST_F(Logger, LineIsTimeStampTwoBlanksMessageAndCrLf) {
    CLogger logger("run.log", platform);
    EXPECT_TRUE(logger.IsEnabled());
    EXPECT_EQ(logger.Path(), "/runs/run.log");
    logger.Write("Apply button selected.");
    logger.Write("");
    platform.now = CFakePlatform::At(2027, 1, 2, 23, 0, 9);
    logger.Write("regex_error: bad.\n");
    EXPECT_EQ(platform.content, "2026-12-08 02:14:05:  Apply button selected.\r\n"
                                "2026-12-08 02:14:05:  \r\n"
                                "2027-01-02 23:00:09:  regex_error: bad.\\x0a\r\n");
}

// A binary file's bytes quoted in a message keep the log one printable line per call.
TEST_F(Logger, UnprintableBytesAreWrittenEscaped) {
    CLogger logger("run.log", platform);
    logger.Write(std::string_view("a\0b\tc\x7f\x81\x8d\x8f\x90\x9d\r\x1b \xe9\x80\\x", 18));
    EXPECT_EQ(platform.content,
              "2026-12-08 02:14:05:  a\\x00b\\x09c\\x7f\\x81\\x8d\\x8f\\x90\\x9d\\x0d\\x1b \xe9\x80\\x\r\n");
}

TEST_F(Logger, FileNameCarriesTheStartTime) {
    EXPECT_EQ(LogFileName(CFakePlatform::At(2026, 12, 8, 2, 13, 40)),
              "OrvikGenerator_2026-12-08 02-13-40.log");
    EXPECT_EQ(LogFileName(CFakePlatform::At(2030, 1, 1, 0, 0, 0)), "OrvikGenerator_2030-01-01 00-00-00.log");
}

TEST_F(Logger, RunStartsWithProducerAndEndsWithShutdown) {
    StartLogger(platform);
    ASSERT_EQ(platform.opened, std::vector<std::string>{"OrvikGenerator_2026-12-08 02-14-05.log"});
    StartLogger(platform);
    EXPECT_EQ(platform.opened.size(), 1u) << "a second start keeps the first logger";
    Log(std::string_view("one"));
    Log(std::wstring_view(L"two \u2122"));
    StopLogger();
    Log(std::string_view("after the end"));
    EXPECT_NO_THROW(StopLogger());

    EXPECT_EQ(platform.content, "2026-12-08 02:14:05:  Halvex Marnel File Generator, Version 1.2.2.2\r\n"
                                "2026-12-08 02:14:05:  Initializing logger.\r\n"
                                "2026-12-08 02:14:05:  one\r\n"
                                "2026-12-08 02:14:05:  two \x99\r\n"
                                "2026-12-08 02:14:05:  Shutting down logger.\r\n");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(CurrentLogSink(), nullptr);
}

TEST_F(Logger, OpenFailureIsShownOnceAndDisablesLogging) {
    platform.openFails = true;
    StartLogger(platform);
    Log(std::string_view("lost"));
    StopLogger();
    EXPECT_EQ(platform.content, "");
    EXPECT_EQ(platform.messages,
              std::vector<std::wstring>{L"Unable to open log file OrvikGenerator_2026-12-08 "
                                        L"02-14-05.log for writing. Logging disabled."});
}

TEST_F(Logger, WriteFailureIsShownOnceAndDisablesLoggingForGood) {
    StartLogger(platform);
    platform.writeFails = true;
    Log(std::string_view("fails"));
    Log(std::string_view("not tried"));
    platform.writeFails = false;
    Log(std::string_view("still off"));
    StopLogger();

    EXPECT_EQ(
        platform.messages,
        std::vector<std::wstring>{L"Cannot write to log file /runs/OrvikGenerator_2026-12-08 02-14-05.log. "
                                  L"Logging disabled."});
    EXPECT_EQ(platform.content, "2026-12-08 02:14:05:  Halvex Marnel File Generator, Version 1.2.2.2\r\n"
                                "2026-12-08 02:14:05:  Initializing logger.\r\n");
}

// The real platform, in a directory of its own.
class DefaultLogPlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("orvik_log_test_" + std::to_string(std::random_device{}()) + "_" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    static std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path dir_;
};

TEST_F(DefaultLogPlatformTest, ExistingFileOfTheSameNameIsAppendedTo) {
    const std::filesystem::path path = dir_ / "OrvikGenerator_2026-12-08 02-14-05.log";
    {
        std::ofstream earlier(path, std::ios::binary);
        earlier << "earlier run, a longer line than the next\r\n";
    }
    std::unique_ptr<ILogFile> file = DefaultLogPlatform().Open(path.string());
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->WriteAndFlush("later run\r\n"));
    EXPECT_EQ(Read(path), "earlier run, a longer line than the next\r\nlater run\r\n") << "flushed at once";
    EXPECT_TRUE(std::filesystem::path(file->FullPath()).is_absolute());
    EXPECT_TRUE(std::filesystem::equivalent(file->FullPath(), path));
}

TEST_F(DefaultLogPlatformTest, FileInAMissingDirectoryCannotBeOpened) {
    EXPECT_EQ(DefaultLogPlatform().Open((dir_ / "missing" / "x.log").string()), nullptr);
}

} // namespace
