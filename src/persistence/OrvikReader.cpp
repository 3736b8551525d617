#include "persistence/OrvikReader.h"
#include "model/FieldNames.h"

#include "catalog/GroupCatalog.h"
#include "catalog/RuleTable.h"
#include "logging/Logger.h"
#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "model/NamePattern.h"
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
        if (c < L'0' || c > L'9') {
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

SGroupMatch FindGroupRecord(const std::wstring& name) {
    const CRuleGroup* group = nullptr;
    if (const CRuleRecord* record = CRuleTable::Instance().FirstGroupMatch(name, group)) {
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
    const SGroupMatch match = FindGroupRecord(name);
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
    ResetGroupPrototypes();

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
