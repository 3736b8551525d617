#include "persistence/OrvikReader.h"
#include "model/FieldNames.h"

#include "catalog/GroupCatalog.h"
#include "catalog/RuleTable.h"
#include "logging/Logger.h"
#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "model/NamePattern.h"
#include "persistence/SaveFlow.h"
#include "persistence/Upgrader.h"
#include "platform/Platform.h"
#include "sheet/PropertySheet.h"
#include "text/PathText.h"
#include "text/Text.h"
#include "text/Version.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <regex>
#include <type_traits>

using orvik::Format;

namespace {

// What a load leaves with the sheet: the file as read, and the retired entries the upgrader keeps.
struct SLoadState : ISheetAttachment {
    CUpgrader upgrader;
    std::unique_ptr<COrvikFile> file;
};

SLoadState& LoadStateOf(CMarnelPropertySheet& sheet) {
    if (auto* state = dynamic_cast<SLoadState*>(sheet.LoadState())) {
        return *state;
    }
    auto state = std::make_unique<SLoadState>();
    SLoadState& result = *state;
    sheet.SetLoadState(std::move(state));
    return result;
}

// A file larger than this is no Orvik file; refusing it keeps a stray disk image from exhausting
// memory.
constexpr long long kMaxFileBytes = 32LL * 1024 * 1024;
// How much of a file that cannot be read line by line reaches the log.
constexpr std::size_t kLoggedRejectedLines = 1000;
constexpr std::size_t kLoggedLineBytes = 256;

// The grammar's characters are all ASCII, and the 8-bit code page keeps ASCII where it is: a line
// can be matched on its bytes as well as on its wide text, with the same result.
// The classes are looked up in one table, a single test per character: a file goes through here
// character by character.
enum : std::uint8_t { kSpaceClass = 1, kNameClass = 2, kDigitClass = 4, kHexClass = 8 };

constexpr std::array<std::uint8_t, 128> kAsciiClasses = [] {
    std::array<std::uint8_t, 128> classes{};
    for (const char c : {' ', '\t', '\r', '\n', '\v', '\f'}) {
        classes[static_cast<std::size_t>(c)] = kSpaceClass;
    }
    for (std::size_t c = 0; c < classes.size(); ++c) {
        const bool lower = c >= 'a' && c <= 'z';
        const bool upper = c >= 'A' && c <= 'Z';
        const bool digit = c >= '0' && c <= '9';
        if (lower || upper || digit || c == '_' || c == '\'') {
            classes[c] |= kNameClass;
        }
        if (digit) {
            classes[c] |= kDigitClass | kHexClass;
        }
        if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
            classes[c] |= kHexClass;
        }
    }
    return classes;
}();

template <class C> std::uint8_t ClassOf(C c) {
    // Bytes and wide characters alike: nothing beyond ASCII belongs to a class.
    using Unsigned = std::make_unsigned_t<C>;
    const auto u = static_cast<Unsigned>(c);
    return u < kAsciiClasses.size() ? kAsciiClasses[u] : std::uint8_t{0};
}

template <class C> bool IsSpace(C c) {
    return (ClassOf(c) & kSpaceClass) != 0;
}

template <class C> bool IsNameChar(C c) {
    return (ClassOf(c) & kNameClass) != 0;
}

template <class C> bool IsDigit(C c) {
    return (ClassOf(c) & kDigitClass) != 0;
}

template <class C> bool IsHexDigit(C c) {
    return (ClassOf(c) & kHexClass) != 0;
}

// Wide text of a matched part of a line: a copy of wide text, the code page's reading of bytes.
void AssignWide(std::wstring& out, std::wstring_view text) {
    out.assign(text);
}

void AssignWide(std::wstring& out, std::string_view bytes) {
    orvik::FromCp1252(bytes, out);
}

// Matches `name \s* : \s*` from the start; returns the position after it, or npos.
template <class C>
std::size_t MatchNameAndColon(std::basic_string_view<C> line, std::size_t nameStart, std::size_t& nameEnd) {
    std::size_t i = nameStart;
    while (i < line.size() && IsNameChar(line[i])) {
        ++i;
    }
    if (i == nameStart) {
        return std::basic_string_view<C>::npos;
    }
    nameEnd = i;
    while (i < line.size() && IsSpace(line[i])) {
        ++i;
    }
    if (i >= line.size() || line[i] != ':') {
        return std::basic_string_view<C>::npos;
    }
    ++i;
    while (i < line.size() && IsSpace(line[i])) {
        ++i;
    }
    return i;
}

template <class C> bool MatchValue(std::basic_string_view<C> v) {
    if ((v.size() == 3 && v[0] == 'Y' && v[1] == 'E' && v[2] == 'S') ||
        (v.size() == 2 && v[0] == 'N' && v[1] == 'O')) {
        return true;
    }
    if (v.size() > 2 && v[0] == '0' && v[1] == 'x') {
        for (std::size_t i = 2; i < v.size(); ++i) {
            if (!IsHexDigit(v[i])) {
                return false;
            }
        }
        return true;
    }
    if (v.empty()) {
        return false;
    }
    for (C c : v) {
        if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

// Instance numbers a group entry may carry: 1..7 PDOs, 1..52 SVIDs, 1..6 modes per SVID.
int InstanceLimit(int groupType, std::size_t position) {
    switch (groupType) {
    case 2:
    case 3:
        return 7;
    case 4:
    case 6:
        return 52;
    case 5:
    case 7:
        return position == 0 ? 52 : 6;
    default:
        return 0;
    }
}

// An instance number of at most nine characters: plain digits, as the name patterns capture them,
// are read directly; anything else as any unsigned answer is.
bool InstanceNumberOf(const std::wstring& text, std::uint32_t& out) {
    std::uint32_t n = 0;
    for (wchar_t c : text) {
        if (!IsDigit(c)) {
            return TryTextToUnsigned(text, out);
        }
        n = n * 10 + static_cast<std::uint32_t>(c - L'0');
    }
    if (text.empty()) {
        return TryTextToUnsigned(text, out);
    }
    out = n;
    return true;
}

// The record of a group type that matches a printable name, with its group's type and owner type.
struct SGroupMatch {
    const CRuleRecord* record = nullptr;
    int typeId = 0;
    int ownerTypeId = 0;
};

SGroupMatch FindGroupRecord(const CRuleTable& rules, const std::wstring& name) {
    const CRuleGroup* group = nullptr;
    if (const CRuleRecord* record = rules.FirstGroupMatch(name, group)) {
        return SGroupMatch{record, group->typeId, group->ownerTypeId};
    }
    return {};
}

// The value a group field holds for a file value: numbers are kept in user units, the file in file
// units.
std::wstring UserValue(const CParameterField* field, const std::wstring& fileValue) {
    const CNumEditField* number = field->AsNumEdit();
    if (!number) {
        return fileValue;
    }
    return number->UserValueOf(fileValue);
}

CFieldGroup& EnsureGroups(CFieldGroupList& list, const std::vector<int>& numbers, std::size_t depth,
                          int typeId) {
    const auto wanted = static_cast<std::size_t>(numbers[depth]);
    while (list.Size() < wanted) {
        list.AppendNewGroup();
    }
    CFieldGroup& group = list.At(wanted - 1);
    if (depth + 1 < numbers.size()) {
        group.CreateChildList(typeId);
        if (CFieldGroupList* child = group.ChildList()) {
            return EnsureGroups(*child, numbers, depth + 1, typeId);
        }
    }
    return group;
}

} // namespace

CParameterField* FindOrCreateGroupField(CMarnelPropertySheet& sheet, const std::wstring& name) {
    const SGroupMatch match = FindGroupRecord(sheet.Rules(), name);
    if (!match.record || match.typeId == 0 || match.typeId == 1) {
        return nullptr;
    }
    // Kept from call to call: the loader asks for every group entry of a file, and nothing below
    // comes back here.
    thread_local std::vector<std::wstring> captures;
    thread_local std::vector<int> numbers;
    if (!match.record->Parsed().Match(name, &captures) || captures.empty()) {
        return nullptr;
    }
    numbers.clear();
    for (std::size_t i = 0; i < captures.size(); ++i) {
        std::uint32_t n = 0;
        const int limit = InstanceLimit(match.typeId, i);
        // Number 0 would address a group before the first; numbers past the counts' ranges would
        // create groups no count can declare.
        if (captures[i].size() > 9 || !InstanceNumberOf(captures[i], n) || n == 0 ||
            n > static_cast<std::uint32_t>(limit)) {
            return nullptr;
        }
        numbers.push_back(static_cast<int>(n));
    }
    const int listType =
        (match.ownerTypeId == 0 || match.ownerTypeId == 1) ? match.typeId : match.ownerTypeId;
    CFieldGroupList* list = nullptr;
    try {
        list = &sheet.EnsureGroupList(listType);
    } catch (const filegen_error& e) {
        Log(std::string_view(e.what()));
        return nullptr;
    }
    CFieldGroup& group = EnsureGroups(*list, numbers, 0, match.typeId);
    if (group.OwnerList() == nullptr || group.OwnerList()->TypeId() != match.typeId) {
        return nullptr;
    }
    return group.FindField(match.record->namePattern);
}

namespace {

void LoadGroupEntry(CMarnelPropertySheet& sheet, const COccurrence& occurrence) {
    CParameterField* field = FindOrCreateGroupField(sheet, occurrence.name);
    if (!field) {
        Log(Format(L"Unknown field: %s", {occurrence.name}));
        return;
    }
    field->SetValue(UserValue(field, occurrence.value));
    field->RefreshControl();
    field->SetFileEntry(occurrence.name, occurrence.value);
}

} // namespace

namespace {

// StripComment without copying: a view into `line`.
template <class C> std::basic_string_view<C> StrippedView(std::basic_string_view<C> line) {
    using View = std::basic_string_view<C>;
    std::size_t b = 0;
    std::size_t e = line.size();
    while (b < e && IsSpace(line[b])) {
        ++b;
    }
    while (e > b && IsSpace(line[e - 1])) {
        --e;
    }
    View text = line.substr(b, e - b);
    if (text.empty() || text[0] == ';') {
        return {};
    }
    const std::size_t d = text.find(C('"'));
    const std::size_t g = text.rfind(C('"'));
    std::size_t s = text.find(C(';'));
    if (s == View::npos) {
        return text;
    }
    if (d != g && d <= s && s <= g) {
        while (s != View::npos && d < s && s < g) {
            s = text.find(C(';'), s + 1);
        }
    }
    if (s == View::npos) {
        return text;
    }
    text = text.substr(0, s);
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// MatchEntryLine for a line already stripped of its comment.
template <class C>
bool MatchStrippedLine(std::basic_string_view<C> line, std::wstring& name, std::wstring& value) {
    using View = std::basic_string_view<C>;
    if (line.empty()) {
        return false;
    }
    std::size_t nameEnd = 0;
    if (line[0] == '$') {
        const std::size_t pos = MatchNameAndColon(line, 1, nameEnd);
        if (pos == View::npos || pos >= line.size() || line[pos] != '"') {
            return false;
        }
        if (line.size() < pos + 2 || line.back() != '"') {
            return false;
        }
        const View inner = line.substr(pos + 1, line.size() - pos - 2);
        // '.' of the line grammar does not cross line terminators.
        for (C c : inner) {
            if (c == '\r' || c == '\n') {
                return false;
            }
            if constexpr (sizeof(C) > 1) {
                if (c == 0x2028 || c == 0x2029) {
                    return false;
                }
            }
        }
        AssignWide(name, line.substr(0, nameEnd));
        AssignWide(value, inner);
        return true;
    }
    const std::size_t pos = MatchNameAndColon(line, 0, nameEnd);
    if (pos == View::npos) {
        return false;
    }
    View raw = line.substr(pos);
    if (!MatchValue(raw)) {
        return false;
    }
    AssignWide(name, line.substr(0, nameEnd));
    if (raw.size() >= 2 && raw[0] == '0' && (raw[1] == 'x' || raw[1] == 'X')) {
        raw.remove_prefix(2);
    }
    AssignWide(value, raw);
    for (wchar_t& c : value) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    return true;
}

} // namespace

std::wstring StripComment(std::wstring_view line) {
    return std::wstring(StrippedView(line));
}

bool MatchEntryLine(std::wstring_view rawLine, std::wstring& name, std::wstring& value) {
    return MatchStrippedLine(StrippedView(rawLine), name, value);
}

void ParseOrvikBytes(std::string_view bytes, COrvikFile& file) {
    // About one entry a line; a huge file of junk gets no huge table in advance.
    std::size_t lines = 0;
    for (std::size_t at = bytes.find('\n'); at != std::string_view::npos; at = bytes.find('\n', at + 1)) {
        ++lines;
    }
    file.Reserve(std::min<std::size_t>(lines + 1, 4096));
    std::size_t start = 0;
    std::wstring name;
    std::wstring value;
    std::wstring line;
    std::string message;
    std::size_t rejected = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        if (end == std::string_view::npos) {
            end = bytes.size();
        }
        std::string_view raw = bytes.substr(start, end - start);
        if (!raw.empty() && raw.back() == '\r') {
            raw.remove_suffix(1);
        }
        start = next;
        // Matched on its bytes: only the name and value it yields are turned into wide text.
        const std::string_view stripped = StrippedView(raw);
        if (stripped.empty()) {
            continue;
        }
        if (MatchStrippedLine(stripped, name, value)) {
            file.AddOccurrence(name, value);
        } else {
            // The log is in the file's own code page: the line goes into it as it was read, up to a
            // bounded length, and a file of junk does not flood it.
            if (++rejected <= kLoggedRejectedLines) {
                message.assign("Syntax Error: couldn't parse '");
                message.append(raw.substr(0, kLoggedLineBytes));
                message.append(raw.size() > kLoggedLineBytes ? "...'" : "'");
                Log(std::string_view(message));
            }
            orvik::FromCp1252(raw, line);
            file.AddRejectedLine(line);
        }
    }
    if (rejected > kLoggedRejectedLines) {
        Log(Format(L"Syntax Error: %u more lines couldn't be parsed.",
                   {orvik::ToWide(rejected - kLoggedRejectedLines)}));
    }
}

bool ReadFileBytes(const std::wstring& path, std::string& bytes, std::wstring& error) {
    // A pipe, a device or a folder is refused before it is opened: opening a pipe with no writer
    // waits for one for ever.
    std::error_code statusError;
    const std::filesystem::file_status status = std::filesystem::status(orvik::ToPath(path), statusError);
    if (!statusError && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error = L"Not a regular file";
        return false;
    }
    std::FILE* f = orvik::platform::OpenFile(orvik::ToPath(path), "rb");
    if (!f) {
        error = orvik::FromUtf8(std::strerror(errno));
        return false;
    }
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> guard(f, std::fclose);
    bytes.clear();
    char buffer[64 * 1024];
    for (;;) {
        const std::size_t n = std::fread(buffer, 1, sizeof buffer, f);
        bytes.append(buffer, n);
        if (static_cast<long long>(bytes.size()) > kMaxFileBytes) {
            error = L"File too large";
            return false;
        }
        if (n < sizeof buffer) {
            if (std::ferror(f)) {
                error = orvik::FromUtf8(std::strerror(errno));
                return false;
            }
            return true;
        }
    }
}

bool LoadOrvik(CMarnelPropertySheet& sheet, const std::wstring& path) {
    std::string bytes;
    std::wstring error;
    if (!ReadFileBytes(path, bytes, error)) {
        const std::wstring message =
            Format(L"Couldn't read from file '%s': %s", {path, error.substr(0, 255)});
        Log(message);
        sheet.Prompt().ShowError(message);
        return false;
    }
    return LoadOrvikBytes(sheet, path, bytes);
}

CUpgrader& UpgraderOf(CMarnelPropertySheet& sheet) {
    return LoadStateOf(sheet).upgrader;
}

const COrvikFile* LoadedFileOf(const CMarnelPropertySheet& sheet) {
    const auto* state = dynamic_cast<const SLoadState*>(sheet.LoadState());
    return state ? state->file.get() : nullptr;
}

bool LoadOrvikBytes(CMarnelPropertySheet& sheet, const std::wstring& path, std::string_view bytes) {
    // The form is emptied and filled again: its views hear of it once, as one change.
    CSheetChangeScope scope(sheet);
    SLoadState& state = LoadStateOf(sheet);
    std::unique_ptr<COrvikFile> file = std::move(state.file);
    if (file) {
        file->Reset(path);
    } else {
        file = std::make_unique<COrvikFile>(path);
    }
    state.upgrader.Clear();
    ParseOrvikBytes(bytes, *file);

    for (CParameterField* field : sheet.FieldVector()) {
        field->SetValue(std::wstring());
        field->RefreshControl();
        field->SetFileEntry(std::wstring(), std::wstring());
    }
    sheet.ClearAllGroups();
    sheet.GroupPrototypes().Reset();

    for (const COrvikEntry& entry : file->Entries()) {
        if (entry.count == 0) {
            Log(Format(L"No Orvik entry found for field: %s", {entry.Name()}));
            continue;
        }
        if (entry.count > 1) {
            Log(Format(L"%u Orvik entries found for field: %s. Discarding.",
                       {orvik::ToWide(entry.count), entry.Name()}));
            continue;
        }
        if (state.upgrader.CollectOldEntry(entry)) {
            continue;
        }
        const COccurrence& occurrence = entry.first;
        if (CParameterField* field = sheet.FindField(entry.Name())) {
            field->SetValue(occurrence.value);
            field->RefreshControl();
            field->SetFileEntry(occurrence.name, occurrence.value);
            field->SetChanged(true);
            continue;
        }
        LoadGroupEntry(sheet, occurrence);
    }

    CPageSuper& intro = sheet.Page(EPage::Intro);
    if (CParameterField* specification = intro.Field(fieldname::kOrvikSpecification);
        specification && specification->IsEmpty()) {
        specification->SetValue(orvik::SpecificationText());
        specification->RefreshControl();
    }
    if (CParameterField* producer = intro.Field(fieldname::kOrvikProducer); producer && producer->IsEmpty()) {
        producer->SetValue(orvik::ProducerText());
        producer->RefreshControl();
    }
    sheet.SetFileLoaded(true);
    SetSheetTitle(sheet, path);
    state.file = std::move(file);
    if (!sheet.FieldVector().Empty()) {
        CParameterField* first = sheet.FieldVector().At(0);
        first->RefreshControl();
        first->SetChanged(false);
        // The retired names' answers reach their current fields before anything is evaluated.
        state.upgrader.ApplyUpgrades(sheet);
        sheet.Reevaluate(0, {.initial = true, .fullReset = true});
    }
    for (CPageSuper* page : sheet.Tabs()) {
        if (page->ReviewFlag()) {
            page->SetReviewFlag(true, CPageSuper::EReviewCause::Load);
        }
    }
    return true;
}

void RunLoadCommand(CMarnelPropertySheet& sheet) {
    Log(std::string_view("About to select Orvik for loading."));
    unsigned errorCode = 0;
    const std::optional<std::wstring> path = sheet.Prompt().ChooseFileToOpen(errorCode);
    if (!path) {
        if (errorCode != 0) {
            const std::wstring message =
                Format(L"Unable to load Orvik: CommDlgExtendedError = %u.", {orvik::ToWide(errorCode)});
            Log(message);
            sheet.Prompt().ShowError(message);
        } else {
            Log(std::string_view("No Orvik selected: cancelled by user."));
        }
        return;
    }
    LoadChosenFile(sheet, *path);
}

void LoadChosenFile(CMarnelPropertySheet& sheet, const std::wstring& path) {
    bool entered = false;
    for (const auto& page : sheet.Pages()) {
        if (page->HasWindow() && !page->IsPageEmpty()) {
            entered = true;
            break;
        }
    }
    if (entered &&
        !sheet.Prompt().AskYesNo(L"Loading this Orvik will overwrite all data that has been entered.  "
                                 L"Are you sure you want to continue?")) {
        return;
    }
    Log(Format(L"Orvik %s selected.", {path}));
    CSheetChangeScope scope(sheet);
    if (LoadOrvik(sheet, path)) {
        Log(Format(L"Success: Orvik %s loaded.", {path}));
        if (!sheet.FieldVector().Empty()) {
            UpdateAvailability(sheet.FieldVector().At(0), sheet.FormState());
            sheet.Reevaluate(0, {.initial = true});
        }
    } else {
        const std::wstring message = Format(L"Failure: Unable to load Orvik %s.", {path});
        Log(message);
        sheet.Prompt().ShowError(message);
    }
}
