#include "platform/Platform.h"
#include "text/PathText.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace fs = std::filesystem;

namespace {

class PlatformFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("orvik_platform_test_" + std::to_string(std::random_device{}()) + "_" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::size_t EntryCount(const fs::path& folder) const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    fs::path dir_;
};

TEST_F(PlatformFiles, ReplacingWritesTheBytesAsTheyStandAndLeavesNoTemporaryFile) {
    const fs::path target = dir_ / "form.txt";
    const std::string bytes = std::string("a: 1\r\nb: \"x\ny\"\r\n\x1a\xe9\0end", 20);
    std::string error;
    ASSERT_TRUE(orvik::platform::ReplaceFileContents(target, bytes, error)) << error;
    EXPECT_EQ(Read(target), bytes) << "CR LF, a lone LF and every byte unchanged";
    EXPECT_EQ(EntryCount(dir_), 1u);

    std::ofstream(target, std::ios::binary) << std::string(100000, 'z');
    ASSERT_TRUE(orvik::platform::ReplaceFileContents(target, "short\r\n", error)) << error;
    EXPECT_EQ(Read(target), "short\r\n") << "no tail of the longer file before";
    EXPECT_EQ(EntryCount(dir_), 1u);
}

TEST_F(PlatformFiles, FoldersAndNamesWithAccentsAreTheSameFileEverywhere) {
    const fs::path folder = dir_ / orvik::ToPath(L"Caf\u00e9 \u00c5sa \u20ac");
    fs::create_directories(folder);
    const fs::path target = folder / orvik::ToPath(L"Caf\u00e9-\u00c5sa__M__1__2.txt");
    std::string error;
    ASSERT_TRUE(orvik::platform::ReplaceFileContents(target, "x\r\n", error)) << error;
    EXPECT_EQ(Read(target), "x\r\n");
    EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), target.filename());

    std::FILE* file = orvik::platform::OpenFile(target, "rb");
    ASSERT_NE(file, nullptr);
    char buffer[8] = {};
    EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, file), 3u);
    std::fclose(file);
}

TEST_F(PlatformFiles, AMissingFolderIsReportedInTheCLibrarysWordsAndNothingIsCreated) {
    std::string error;
    EXPECT_FALSE(orvik::platform::ReplaceFileContents(dir_ / "missing" / "form.txt", "x", error));
    EXPECT_EQ(error, std::strerror(ENOENT));
    EXPECT_EQ(EntryCount(dir_), 0u);

    errno = 0;
    EXPECT_EQ(orvik::platform::OpenFile(dir_ / "missing.txt", "rb"), nullptr);
    EXPECT_EQ(errno, ENOENT);
}

TEST_F(PlatformFiles, AFolderInTheWayOfTheTargetFailsAndIsKept) {
    fs::create_directories(dir_ / "form.txt" / "keep");
    std::string error;
    EXPECT_FALSE(orvik::platform::ReplaceFileContents(dir_ / "form.txt", "x", error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::exists(dir_ / "form.txt" / "keep"));
    EXPECT_EQ(EntryCount(dir_), 1u);
}

TEST_F(PlatformFiles, AReadOnlyTargetIsKeptAndAWritableOneKeepsItsPermissions) {
    const fs::path target = dir_ / "form.txt";
    std::ofstream(target, std::ios::binary) << "before\r\n";
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::string error;
    EXPECT_FALSE(orvik::platform::ReplaceFileContents(target, "after\r\n", error));
    EXPECT_EQ(error, std::strerror(EACCES));
    EXPECT_EQ(Read(target), "before\r\n");
    EXPECT_EQ(EntryCount(dir_), 1u);

    const fs::perms ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(target, ownerOnly);
    ASSERT_TRUE(orvik::platform::ReplaceFileContents(target, "after\r\n", error)) << error;
    EXPECT_EQ(Read(target), "after\r\n");
#ifndef _WIN32
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all, ownerOnly);
#endif
}

#ifndef _WIN32
// Windows limits the whole path to 260 characters instead.
TEST_F(PlatformFiles, ANameAsLongAsTheFolderAllowsIsSaved) {
    const fs::path target = dir_ / (std::string(251, 'n') + ".txt");
    std::string error;
    ASSERT_TRUE(orvik::platform::ReplaceFileContents(target, "x\r\n", error)) << error;
    EXPECT_EQ(Read(target), "x\r\n");
    EXPECT_EQ(EntryCount(dir_), 1u);
}

TEST_F(PlatformFiles, AMaskThatTakesEverythingStillLeavesTheOwnerAFileToReadBack) {
    const mode_t mask = ::umask(0777);
    std::string error;
    const bool saved = orvik::platform::ReplaceFileContents(dir_ / "form.txt", "x\r\n", error);
    ::umask(mask);
    ASSERT_TRUE(saved) << error;
    // Looked at, not read: a test run as root would read a file whatever its permissions.
    const fs::perms owner = fs::perms::owner_read | fs::perms::owner_write;
    EXPECT_EQ(fs::status(dir_ / "form.txt").permissions() & owner, owner);
}
#endif

TEST(PlatformClock, LocalTimeIsTheCalendarTimeOfTheSameInstant) {
    const std::time_t now = std::time(nullptr);
    const std::tm local = orvik::platform::LocalTime(now);
    std::tm copy = local;
    EXPECT_EQ(std::mktime(&copy), now);
    EXPECT_GE(local.tm_year, 120);
}

} // namespace
