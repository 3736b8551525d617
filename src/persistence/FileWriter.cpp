#include "persistence/FileWriter.h"
#include "model/FieldNames.h"

#include "model/FieldKinds.h"
#include "sheet/PropertySheet.h"
#include "text/Text.h"
#include "text/Version.h"

namespace {

constexpr const wchar_t* kLineEnd = L"\r\n";
// 77 semicolons; the written separator line adds one more in front.
const std::wstring kSeparator(77, L';');

void WriteCommentLine(std::wstring& out, const std::wstring& text, bool spaced) {
    out += spaced ? L"; " : L";";
    out += text;
    out += kLineEnd;
}

} // namespace

void WritePageSection(const CPageSuper& page, std::wstring& out) {
    WriteCommentLine(out, kSeparator, false);
    out += L";   ";
    out += page.SectionCaption();
    out += L" tab";
    out += kLineEnd;
    WriteCommentLine(out, kSeparator, false);
    // One line buffer for every page written.
    thread_local std::wstring line;
    for (const CParameterField* field : page.Fields()) {
        if (!field->IsAvailable()) {
            continue;
        }
        field->GetOutputLine(line);
        if (field->WriteComment()) {
            field->AppendComment(line);
        }
        out += line;
        out += kLineEnd;
    }
    out += kLineEnd;
    if (page.ListsGroups()) {
        const auto& lists = page.Sheet().GroupLists();
        auto it = lists.find(page.ListedGroupType());
        if (it != lists.end()) {
            for (const auto& group : it->second->Groups()) {
                group->WriteText(out);
            }
        }
    }
}

std::wstring BuildOrvikText(const CMarnelPropertySheet& sheet) {
    std::wstring out;
    out.reserve(16 * 1024);
    WriteCommentLine(out, L"", true);
    WriteCommentLine(out, orvik::ProducerText(), true);
    WriteCommentLine(out, L"", true);
    out += kLineEnd;
    for (const CPageSuper* page : sheet.Tabs()) {
        WritePageSection(*page, out);
    }
    return out;
}

std::string BuildOrvikBytes(const CMarnelPropertySheet& sheet) {
    return orvik::ToCp1252(BuildOrvikText(sheet));
}
