#include "cli/Console.h"

#include "text/Text.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

void WriteLine(std::FILE* stream, std::wstring_view line) {
    std::string bytes = orvik::ToUtf8(line);
    bytes.push_back('\n');
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
}

} // namespace

void CConsole::Out(std::wstring_view line) const {
    WriteLine(stdout, line);
}

bool CConsole::OutBytes(std::string_view bytes, std::wstring& error) const {
    errno = 0;
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    if (written != bytes.size() || std::fflush(stdout) != 0) {
        error = orvik::FromUtf8(std::strerror(errno != 0 ? errno : EIO));
        return false;
    }
    return true;
}

void CConsole::Err(std::wstring_view line) {
    std::fflush(stdout);
    WriteLine(stderr, line);
    std::fflush(stderr);
    lastErrLine_.assign(line);
}

void CConsole::ErrUnlessRepeated(std::wstring_view line) {
    if (line != lastErrLine_) {
        Err(line);
    }
}
