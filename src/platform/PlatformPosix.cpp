#include "platform/Platform.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvik::platform {

namespace {

bool Fail(std::string& error, int code) {
    error = std::strerror(code);
    return false;
}

} // namespace

bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes, std::string& error) {
    // A file the user marked read-only (no write permission for anyone) keeps its contents, whoever
    // saves; a writable one that is replaced keeps its permissions.
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (replacing && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        return Fail(error, EACCES);
    }
    // A short name of its own, so that any name the folder can hold can be saved.
    const std::filesystem::path folder = target.parent_path();
    std::string temp = ((folder.empty() ? std::filesystem::path(".") : folder) / ".orvik-XXXXXX").string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return Fail(error, errno);
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int code = errno;
            ::close(fd);
            ::unlink(temp.c_str());
            return Fail(error, code);
        }
        written += static_cast<std::size_t>(n);
    }
    // The file is read by others after we are gone: the permissions of the file it replaces, or
    // ordinary ones, not mkstemp's 0600. A mask that leaves even the owner nothing (a browser
    // page's file system starts with one) would save a file no one can read back: the owner keeps
    // reading and writing it.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, replacing ? existing.st_mode & 07777 : (0666 & ~mask) | S_IRUSR | S_IWUSR);
    if (::fsync(fd) != 0) {
        const int code = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        return Fail(error, code);
    }
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        return Fail(error, code);
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        return Fail(error, code);
    }
    return true;
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

std::tm LocalTime(std::time_t time) {
    std::tm local{};
    ::localtime_r(&time, &local);
    return local;
}

std::time_t FileModificationTime(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mtime : 0;
}

#ifdef __EMSCRIPTEN__

// A browser page sees no processes: the runtime gives every page the same process id, and a page
// cannot look into another tab or tell whether an earlier page is still open. Each page load draws
// a number of its own instead, and every other number counts as a run that has ended, even one of
// a tab still open beside this one.
long CurrentProcessId() {
    static const long id = [] {
        std::random_device entropy;
        return std::uniform_int_distribution<long>(1, std::numeric_limits<std::int32_t>::max())(entropy);
    }();
    return id;
}

bool IsProcessRunning(long pid) {
    return pid == CurrentProcessId();
}

#else

long CurrentProcessId() {
    return static_cast<long>(::getpid());
}

bool IsProcessRunning(long pid) {
    // kill(0) and kill(-1) would name a whole group of processes.
    if (pid <= 0 || pid > std::numeric_limits<pid_t>::max()) {
        return false;
    }
    // EPERM: the process is there, only another user's.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

#endif

void UseBinaryStandardStreams() {}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

} // namespace orvik::platform
