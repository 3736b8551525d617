#include "platform/Platform.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <initializer_list>
#include <io.h>
#include <windows.h>

#include <shellapi.h>

namespace orvik::platform {

namespace {

std::string ToUtf8(const wchar_t* text, int length) {
    if (length == 0) {
        return {};
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    }
    return out;
}

// The common failures read as the C library words them, so the tool's messages are the same on every
// system; anything rarer in the system's own words.
std::string ErrorText(DWORD code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return std::strerror(ENOENT);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return std::strerror(EACCES);
    case ERROR_WRITE_PROTECT:
        return std::strerror(EROFS);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return std::strerror(ENOSPC);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return std::strerror(EEXIST);
    case ERROR_FILENAME_EXCED_RANGE:
        return std::strerror(ENAMETOOLONG);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return std::strerror(ENOMEM);
    default:
        break;
    }
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                              FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length > 0 ? ToUtf8(buffer, static_cast<int>(length)) : std::string();
    if (buffer) {
        ::LocalFree(buffer);
    }
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.')) {
        text.pop_back();
    }
    return text.empty() ? "System error " + std::to_string(code) : text;
}

bool Fail(std::string& error, DWORD code) {
    error = ErrorText(code);
    return false;
}

// A new file beside the target, never one that exists already.
HANDLE CreateTemporary(const std::filesystem::path& target, std::filesystem::path& temp) {
    const std::filesystem::path folder = target.parent_path();
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        // A name taken already (by another save in the same tick) is followed by a different one.
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        const unsigned long long seed = (static_cast<unsigned long long>(now.QuadPart) * 2654435761ULL) ^
                                        ::GetCurrentProcessId() ^ (attempt * 0x9E3779B9ULL);
        wchar_t suffix[8];
        const wchar_t* digits = L"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
        unsigned long long rest = seed;
        for (int i = 0; i < 6; ++i) {
            suffix[i] = digits[rest % 62];
            rest /= 62;
        }
        suffix[6] = L'\0';
        // A short name of its own, so that any name the folder can hold can be saved.
        temp = folder / (std::wstring(L".orvik-") + suffix);
        const HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

} // namespace

bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes, std::string& error) {
    // A file the user marked read-only keeps its contents.
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return Fail(error, ERROR_ACCESS_DENIED);
    }
    std::filesystem::path temp;
    const HANDLE file = CreateTemporary(target, temp);
    if (file == INVALID_HANDLE_VALUE) {
        return Fail(error, ::GetLastError());
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, 1u << 30));
        DWORD n = 0;
        if (!::WriteFile(file, bytes.data() + written, chunk, &n, nullptr)) {
            const DWORD code = ::GetLastError();
            ::CloseHandle(file);
            ::DeleteFileW(temp.c_str());
            return Fail(error, code);
        }
        written += n;
    }
    if (!::FlushFileBuffers(file)) {
        const DWORD code = ::GetLastError();
        ::CloseHandle(file);
        ::DeleteFileW(temp.c_str());
        return Fail(error, code);
    }
    if (!::CloseHandle(file)) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        return Fail(error, code);
    }
    if (!::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        return Fail(error, code);
    }
    return true;
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
    std::wstring wideMode;
    for (const char* c = mode; *c; ++c) {
        wideMode.push_back(static_cast<wchar_t>(*c));
    }
    return ::_wfopen(path.c_str(), wideMode.c_str());
}

std::tm LocalTime(std::time_t time) {
    std::tm local{};
    ::localtime_s(&local, &time);
    return local;
}

std::time_t FileModificationTime(const std::filesystem::path& path) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(path, error);
    if (error) {
        return 0;
    }
    return std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
}

long CurrentProcessId() {
    return static_cast<long>(::GetCurrentProcessId());
}

bool IsProcessRunning(long pid) {
    if (pid <= 0) {
        return false;
    }
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!process) {
        // The process is there, only not ours to look into.
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    }
    DWORD exitCode = 0;
    const bool running = ::GetExitCodeProcess(process, &exitCode) && exitCode == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
}

void UseBinaryStandardStreams() {
    // A window program started without a console has no standard streams at all.
    for (std::FILE* stream : {stdin, stdout, stderr}) {
        if (const int fd = ::_fileno(stream); fd >= 0) {
            ::_setmode(fd, _O_BINARY);
        }
    }
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide) {
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        args.push_back(ToUtf8(wide[i], static_cast<int>(std::wcslen(wide[i]))));
    }
    ::LocalFree(wide);
    return args;
}

} // namespace orvik::platform
