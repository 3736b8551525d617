#include "persistence/OrvikReader.h"
#include "model/FieldNames.h"

#include "catalog/GroupCatalog.h"
#include "catalog/RuleTable.h"
#include "logging/Logger.h"
#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "model/NamePattern.h"
#include "persistence/LoadReport.h"
#include "persistence/OrvikLexer.h"
#include "persistence/SaveFlow.h"
#include "persistence/Upgrader.h"
#include "platform/Platform.h"
#include "sheet/PropertySheet.h"
#include "text/PathText.h"
#include "text/Text.h"
#include "text/Version.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <vector>

using orvik::Format;

namespace {

// What a load leaves with the sheet: the room of the last file read (its texts went into the
// fields), the retired entries the upgrader keeps, and the report of the last load tried.
struct SLoadState : ISheetAttachment {
    CUpgrader upgrader;
    std::unique_ptr<COrvikFile> file;
    // The next file is read into this one's room first: a file that turns out to be no Orvik file
    // leaves the last one loaded where it is.
    std::unique_ptr<COrvikFile> spare;
    SLoadReport report;
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
// How much of a line that fits no line form the report shows, as much as the log does.
constexpr std::size_t kLoggedLineChars = 256;

// An instance number of at most nine characters: plain digits, as the name patterns capture them,
// are read directly; anything else as any unsigned answer is.
bool InstanceNumberOf(std::wstring_view text, std::uint32_t& out) {
    std::uint32_t n = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') {
            return TryTextToUnsigned(std::wstring(text), out);
        }
        n = n * 10 + static_cast<std::uint32_t>(c - L'0');
    }
    if (text.empty()) {
        return TryTextToUnsigned(std::wstring(text), out);
    }
    out = n;
    return true;
}

// The record of a group type that matches a printable name, with its group's type and owner type.
struct SGroupMatch {
    const CRuleRecord* record = nullptr;
    EGroupType type = EGroupType::None;
    EGroupType ownerType = EGroupType::None;
};

SGroupMatch FindGroupRecord(const CRuleTable& rules, const std::wstring& name, const SNameKeys& keys) {
    const CRuleGroup* group = nullptr;
    if (const CRuleRecord* record = rules.FirstItemMatch(name, keys, group)) {
        return SGroupMatch{record, group->type, group->ownerType};
    }
    return {};
}

// The value a group field holds for a file value: numbers are kept in user units, the file in file
// units.
std::wstring UserValue(const CParameterField* field, const std::wstring& fileValue) {
    const CNumEditField* number = FieldAs<const CNumEditField>(field);
    if (!number) {
        return fileValue;
    }
    return number->UserValueOf(fileValue);
}

CFieldGroup& EnsureGroups(CFieldGroupList& list, const std::vector<int>& numbers, std::size_t depth,
                          EGroupType type) {
    const auto wanted = static_cast<std::size_t>(numbers[depth]);
    while (list.Size() < wanted) {
        list.AppendNewGroup();
    }
    CFieldGroup& group = list.At(wanted - 1);
    if (depth + 1 < numbers.size()) {
        group.CreateChildList(type);
        if (CFieldGroupList* child = group.ChildList()) {
            return EnsureGroups(*child, numbers, depth + 1, type);
        }
    }
    return group;
}

// The repeated item that instance number `position` of a group entry's name addresses: the type
// of its list and its numbers up to that one, without leading zeros ("2:8" for Source PDO 8,
// "5:1:7" for mode 7 of SOP SVID 1).
std::wstring ItemKey(EGroupType listType, EGroupType type, const std::vector<std::wstring_view>& captures,
                     std::size_t position) {
    std::wstring key =
        orvik::ToWide(static_cast<unsigned long long>(NumberOf(position == 0 ? listType : type)));
    for (std::size_t i = 0; i <= position; ++i) {
        const std::wstring_view digits = captures[i];
        const std::size_t first = std::min(digits.find_first_not_of(L'0'), digits.size());
        key.append(L":").append(digits.substr(first));
    }
    return key;
}

// FindOrCreateGroupField telling a name whose numbers are past what its list may hold: then
// `beyondItem`, when given, receives the key of the first item out of range (ItemKey). `keys` are
// those of `name`.
CParameterField* BindGroupField(CMarnelPropertySheet& sheet, const std::wstring& name, const SNameKeys& keys,
                                std::wstring* beyondItem) {
    const SGroupMatch match = FindGroupRecord(sheet.Rules(), name, keys);
    if (!match.record || !IsRepeatedGroupType(match.type)) {
        return nullptr;
    }
    // Kept from call to call: the loader asks for every group entry of a file, and nothing below
    // comes back here.
    thread_local std::vector<std::wstring> captured;
    thread_local std::vector<std::wstring_view> capturedViews;
    thread_local std::vector<int> numbers;
    // The instance numbers' digits: the name's runs of digits when the key matched (it leaves no
    // other match), else what the pattern captured.
    const std::vector<std::wstring_view>* runs = &keys.digitRuns;
    const CNamePattern& parsed = match.record->Parsed();
    if (parsed.Key().empty() || parsed.Key() != keys.key) {
        if (!parsed.Match(name, &captured)) {
            return nullptr;
        }
        capturedViews.assign(captured.begin(), captured.end());
        runs = &capturedViews;
    }
    const std::vector<std::wstring_view>& captures = *runs;
    if (captures.empty()) {
        return nullptr;
    }
    const EGroupType listType = IsRepeatedGroupType(match.ownerType) ? match.ownerType : match.type;
    numbers.clear();
    for (std::size_t i = 0; i < captures.size(); ++i) {
        std::uint32_t n = 0;
        const int limit = GroupInstanceLimit(match.type, i);
        // Number 0 would address a group before the first; numbers past the counts' ranges would
        // create groups no count can declare.
        const bool tooLong = captures[i].size() > 9;
        if (tooLong || !InstanceNumberOf(captures[i], n) || n == 0 || n > static_cast<std::uint32_t>(limit)) {
            if (beyondItem && (tooLong || n > static_cast<std::uint32_t>(limit))) {
                *beyondItem = ItemKey(listType, match.type, captures, i);
            }
            return nullptr;
        }
        numbers.push_back(static_cast<int>(n));
    }
    CFieldGroupList* list = nullptr;
    try {
        list = &sheet.EnsureGroupList(listType);
    } catch (const filegen_error& e) {
        Log(std::string_view(e.what()));
        return nullptr;
    }
    CFieldGroup& group = EnsureGroups(*list, numbers, 0, match.type);
    if (group.OwnerList() == nullptr || group.OwnerList()->Type() != match.type) {
        return nullptr;
    }
    return group.FindField(*match.record);
}

} // namespace

CParameterField* FindOrCreateGroupField(CMarnelPropertySheet& sheet, const std::wstring& name) {
    SNameKeys keys;
    return BindGroupField(sheet, name, keys.Of(name), nullptr);
}

namespace {

// What the load of one file has found so far that it could not take as written.
struct SReportBuilder {
    explicit SReportBuilder(SLoadReport& into) : report(into) {}

    SLoadReport& report;
    // The repeated items already counted beyond their limit: each counts once, however many of
    // its entries the file holds.
    std::set<std::wstring> beyondItems;
    std::wstring item;
};

// The field that takes the entry takes its name and value over.
void LoadGroupEntry(CMarnelPropertySheet& sheet, COccurrence& occurrence, const SNameKeys& keys,
                    SReportBuilder& found) {
    found.item.clear();
    CParameterField* field = BindGroupField(sheet, occurrence.name, keys, &found.item);
    if (!field) {
        Log(Format(L"Unknown field: %s", {occurrence.name}));
        if (found.item.empty()) {
            found.report.unknownFields.Add(occurrence.name);
        } else if (found.beyondItems.insert(found.item).second) {
            found.report.beyondLimit.Add(occurrence.name);
        }
        return;
    }
    field->SetValue(UserValue(field, occurrence.value));
    field->SetFileEntry(std::move(occurrence.name), std::move(occurrence.value));
}

constexpr const wchar_t* kNotAnOrvikFile = L"not an Orvik file";

// The lines of the file that fit neither line form, quoted and cut as the log shows them.
void AddUnreadLines(const COrvikFile& file, SLoadReport::SKind& unread) {
    const std::vector<std::wstring>& kept = file.RejectedLines();
    for (std::size_t i = 0; i < kept.size() && i < SLoadReport::kMaxKeptExamples; ++i) {
        const std::wstring& line = kept[i];
        std::wstring example = L"'" + line.substr(0, kLoggedLineChars);
        example += line.size() > kLoggedLineChars ? L"...'" : L"'";
        unread.Keep(std::move(example));
    }
    unread.count = file.RejectedLineCount();
}

// "$Product_Name: now $Model_Part_Number": a retired name with the questions that take its answer.
std::wstring UpgradeExample(const std::wstring& oldName) {
    static const std::vector<SRetiredField> retired = RetiredFields();
    for (const SRetiredField& field : retired) {
        if (!orvik::EqualsIgnoreCase(field.oldName, oldName)) {
            continue;
        }
        std::wstring example = oldName + L": now ";
        for (std::size_t i = 0; i < field.currentNames.size(); ++i) {
            example.append(i == 0 ? L"" : L", ").append(field.currentNames[i]);
        }
        return example;
    }
    return oldName;
}

// Whether one entry of the file names a question, a list's item or a retired name. When none does,
// the entries' names are kept in the report as fields no question takes.
bool GivesAKnownField(CMarnelPropertySheet& sheet, const COrvikFile& file, SLoadReport& report) {
    SNameKeys keys;
    for (const COrvikEntry& entry : file.Entries()) {
        const std::wstring& name = entry.Name();
        keys.Of(name);
        if (sheet.FieldVector().FindField(name, keys) || CUpgrader::IsRetiredName(name, keys)) {
            return true;
        }
        const SGroupMatch match = FindGroupRecord(sheet.Rules(), name, keys);
        if (match.record && IsRepeatedGroupType(match.type)) {
            return true;
        }
    }
    for (const COrvikEntry& entry : file.Entries()) {
        report.unknownFields.Add(entry.Name());
    }
    return false;
}

} // namespace

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
        SLoadReport& report = LoadStateOf(sheet).report;
        report = SLoadReport();
        report.path = path;
        report.outcome = SLoadReport::EOutcome::NotRead;
        report.readError = error.substr(0, 255);
        return false;
    }
    return LoadOrvikBytes(sheet, path, bytes);
}

CUpgrader& UpgraderOf(CMarnelPropertySheet& sheet) {
    return LoadStateOf(sheet).upgrader;
}

const SLoadReport* LoadReportOf(const CMarnelPropertySheet& sheet) {
    const auto* state = dynamic_cast<const SLoadState*>(sheet.LoadState());
    return state ? &state->report : nullptr;
}

bool LoadOrvikBytes(CMarnelPropertySheet& sheet, const std::wstring& path, std::string_view bytes) {
    SLoadState& state = LoadStateOf(sheet);
    std::unique_ptr<COrvikFile> file = std::move(state.spare);
    if (file) {
        file->Reset(path);
    } else {
        file = std::make_unique<COrvikFile>(path);
    }
    ParseOrvikBytes(bytes, *file);
    state.report = SLoadReport();
    state.report.path = path;
    AddUnreadLines(*file, state.report.unreadLines);
    // Not one line of the file is an entry a question or a list takes: it is some other file (a
    // line of random text may happen to read as "name: value"), and emptying the form for it would
    // throw the answers away for nothing.
    if (!GivesAKnownField(sheet, *file, state.report) &&
        (file->RejectedLineCount() != 0 || !file->Entries().empty())) {
        state.spare = std::move(file);
        state.report.outcome = SLoadReport::EOutcome::NotAnOrvikFile;
        const std::wstring message = Format(L"Couldn't read from file '%s': %s", {path, kNotAnOrvikFile});
        Log(message);
        sheet.Prompt().ShowError(message);
        return false;
    }

    // The form is emptied and filled again: its views hear of it once, as one change.
    CSheetChangeScope scope(sheet);
    state.upgrader.Clear();
    SReportBuilder found(state.report);

    for (CParameterField* field : sheet.FieldVector()) {
        field->SetValue(std::wstring());
        field->SetFileEntry(std::wstring(), std::wstring());
    }
    sheet.ClearAllGroups();
    sheet.GroupPrototypes().Reset();

    SNameKeys keys;
    // The entries' texts move into the fields that take them: the file is kept only for its room.
    for (COrvikEntry& entry : file->Entries()) {
        if (entry.count == 0) {
            Log(Format(L"No Orvik entry found for field: %s", {entry.Name()}));
            continue;
        }
        if (entry.count > 1) {
            const std::wstring count = orvik::ToWide(entry.count);
            Log(Format(L"%u Orvik entries found for field: %s. Discarding.", {count, entry.Name()}));
            found.report.duplicates.Add(Format(L"%s: %u entries", {entry.Name(), count}));
            continue;
        }
        keys.Of(entry.Name());
        if (state.upgrader.CollectOldEntry(entry, keys)) {
            found.report.upgraded.Add(UpgradeExample(entry.Name()));
            continue;
        }
        COccurrence& occurrence = entry.first;
        if (CParameterField* field = sheet.FieldVector().FindField(entry.Name(), keys)) {
            field->SetValue(occurrence.value);
            field->SetFileEntry(std::move(occurrence.name), std::move(occurrence.value));
            field->SetChanged(true);
            continue;
        }
        LoadGroupEntry(sheet, occurrence, keys, found);
    }

    // A file that does not name the program and format it was written with shows this program's.
    sheet.FillProgramAnswers(true);
    sheet.SetFileLoaded(true);
    SetSheetTitle(sheet, path);
    state.spare = std::move(state.file);
    state.file = std::move(file);
    if (!sheet.FieldVector().Empty()) {
        CParameterField* first = sheet.FieldVector().At(0);
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
