#include "persistence/Recovery.h"

#include "model/FieldNames.h"
#include "persistence/FileWriter.h"
#include "persistence/OrvikLexer.h"
#include "platform/Platform.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <system_error>

namespace {

constexpr std::string_view kPrefix = "recovery-";
constexpr std::string_view kSuffix = ".txt";

} // namespace

std::string RecoveryFileName(long pid, int window) {
    return std::string(kPrefix) + std::to_string(pid) + "-" + std::to_string(window) + std::string(kSuffix);
}

long RecoveryFileOwner(std::string_view fileName) {
    if (!fileName.starts_with(kPrefix) || !fileName.ends_with(kSuffix)) {
        return 0;
    }
    const std::string_view rest =
        fileName.substr(kPrefix.size(), fileName.size() - kPrefix.size() - kSuffix.size());
    long pid = 0;
    const auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), pid);
    if (error != std::errc() || pid <= 0 || end == rest.data() + rest.size() || *end != '-') {
        return 0;
    }
    int window = 0;
    const auto [last, windowError] = std::from_chars(end + 1, rest.data() + rest.size(), window);
    if (windowError != std::errc() || last != rest.data() + rest.size()) {
        return 0;
    }
    return pid;
}

std::vector<SRecoveryCopy> FindOrphanedCopies(const std::filesystem::path& folder, long ownPid,
                                              const std::function<bool(long)>& isRunning) {
    std::vector<SRecoveryCopy> copies;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const long pid = RecoveryFileOwner(it->path().filename().string());
        if (pid == 0 || pid == ownPid || !it->is_regular_file(error) || isRunning(pid)) {
            continue;
        }
        copies.push_back({it->path(), pid, orvik::platform::FileModificationTime(it->path())});
    }
    std::stable_sort(copies.begin(), copies.end(),
                     [](const SRecoveryCopy& a, const SRecoveryCopy& b) { return a.modified > b.modified; });
    return copies;
}

std::wstring RecoveryTimeText(std::time_t time) {
    const std::tm local = orvik::platform::LocalTime(time);
    std::array<char, 32> text{};
    const std::size_t length = std::strftime(text.data(), text.size(), "%Y-%m-%d %H:%M", &local);
    return orvik::FromUtf8(std::string_view(text.data(), length));
}

std::wstring RestoreQuestion(std::time_t modified) {
    return L"Orvik Generator was closed without saving. Restore the answers from " +
           RecoveryTimeText(modified) + L"?";
}

bool HoldsAnswers(std::string_view bytes) {
    std::wstring name;
    std::wstring value;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (MatchEntryLine(orvik::FromCp1252(line), name, value)) {
            return true;
        }
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
    }
    return false;
}

std::string RecoveryBytes(const CMarnelPropertySheet& sheet) {
    return BuildOrvikBytes(sheet);
}
