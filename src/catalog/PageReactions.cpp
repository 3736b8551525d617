#include "catalog/PageReactions.h"

#include "model/FieldNames.h"

#include <unordered_map>

namespace {

// What one row of the reaction table does beyond the standard reaction. The fields it listens to
// name the row on their catalog rows; the table lists the rows in its own order.
struct SReactionRow {
    EReaction id;
    EPage page;
    bool reevaluates;
    bool onlyWithFocus;
    bool setsProductTypeFlag;
    bool recoloursList;
    bool repaintsTab;
    std::vector<const wchar_t*> repaintedControls;
};

std::vector<SPageReaction> BuildReactions() {
    using R = EReaction;
    using namespace fieldname;
    // clang-format off
    const SReactionRow table[] = {
        // Reaction          Page                  Re-evaluates Only with focus Product type flag Recolours list Repaints tab Repainted controls
        {R::OrvikProduct,     EPage::OrvikProduct,  true,        false,          false,            false,         false,       {}},
        {R::Intro,            EPage::Intro,         true,        false,          false,            false,         false,       {}},
        {R::General,          EPage::General,       true,        false,          false,            false,         false,       {}},
        {R::Batteries,        EPage::General,       true,        true,           false,            false,         false,       {}},
        {R::CanActAsHost,     EPage::UsbTypeC,      true,        false,          false,            false,         false,       {}},
        {R::UsbTypeC,         EPage::UsbTypeC,      true,        false,          false,            false,         false,       {}},
        {R::ProductPower,     EPage::ProductPower,  true,        false,          false,            false,         false,       {}},
        {R::HostSpeed,        EPage::UsbHost,       true,        false,          false,            false,         false,       {kHubPortNumber}},
        {R::UsbHost,          EPage::UsbHost,       true,        false,          false,            false,         false,       {}},
        {R::UsbDevice,        EPage::UsbDevice,     true,        false,          false,            false,         false,       {}},
        {R::Protection,       EPage::Source,        true,        false,          false,            true,          false,       {}},
        {R::SourceCount,      EPage::Source,        false,       false,          false,            true,          true,        {}},
        {R::SinkCount,        EPage::Sink,          false,       false,          false,            true,          true,        {}},
        {R::SopDiscovery1,    EPage::SOPDiscovery1, true,        false,          false,            false,         false,       {}},
        {R::SopCounts,        EPage::SOPDiscovery2, false,       false,          false,            true,          true,        {kNumSvidsMinSop, kNumSvidsMaxSop}},
        {R::CableProductType, EPage::Cables1,       true,        false,          true,             false,         false,       {}},
        {R::Cables1,          EPage::Cables1,       true,        false,          false,            false,         false,       {}},
        {R::CableCounts,      EPage::Cables2,       false,       false,          false,            true,          true,        {kCableNumSvidsMin, kCableNumSvidsMax}},
        {R::Ama,              EPage::AMA,           true,        false,          false,            false,         false,       {}},
    };
    // clang-format on

    std::vector<SPageReaction> rows;
    for (const SReactionRow& entry : table) {
        SPageReaction row;
        row.page = entry.page;
        row.reevaluates = entry.reevaluates;
        row.onlyWithFocus = entry.onlyWithFocus;
        row.setsProductTypeFlag = entry.setsProductTypeFlag;
        row.recoloursList = entry.recoloursList;
        row.repaintsTab = entry.repaintsTab;
        row.repaintedControls = entry.repaintedControls;
        for (const SFieldRow& field : PageRow(entry.page).fields) {
            if (field.reaction.id == entry.id) {
                row.fields.push_back({field.Pattern(), field.reaction.event, field.reaction.evaluatedFirst});
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace
const SReactingField* SPageReaction::FieldOf(const std::wstring& namePattern) const {
    for (const SReactingField& field : fields) {
        if (namePattern == field.namePattern) {
            return &field;
        }
    }
    return nullptr;
}

const std::vector<SPageReaction>& PageReactions() {
    static const std::vector<SPageReaction> rows = BuildReactions();
    return rows;
}

const SPageReaction* FindPageReaction(const std::wstring& namePattern) {
    static const std::unordered_map<std::wstring, const SPageReaction*> index = [] {
        std::unordered_map<std::wstring, const SPageReaction*> byName;
        for (const SPageReaction& row : PageReactions()) {
            for (const SReactingField& field : row.fields) {
                byName.emplace(field.namePattern, &row);
            }
        }
        return byName;
    }();
    auto it = index.find(namePattern);
    return it == index.end() ? nullptr : it->second;
}
