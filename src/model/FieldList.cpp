#include "model/FieldList.h"

#include "logging/Logger.h"
#include "model/Errors.h"
#include "model/NamePattern.h"
#include "model/ParameterField.h"
#include "model/RuleRecord.h"
#include "text/Text.h"

#include <algorithm>
#include <numeric>
#include <regex>
#include <typeinfo>

namespace {

constexpr std::size_t kIndexThreshold = 24;

bool PatternMatches(const CParameterField* field, const std::wstring& name) {
    try {
        return field->ParsedPattern().Match(name);
    } catch (const std::regex_error& e) {
        Log(orvik::Format(L"regex_error: %S.\n", {orvik::FromCp1252(e.what())}));
        return false;
    }
}

} // namespace

// ---- CFieldList ----

CFieldList::~CFieldList() {
    Clear();
}

void CFieldList::Append(CParameterField* field) {
    fields_.push_back(field);
    indexed_ = false;
}

void CFieldList::Clear() {
    if (ownsFields_) {
        for (CParameterField* f : fields_) {
            delete f;
        }
    }
    fields_.clear();
    indexed_ = false;
}

void CFieldList::StableSort(const std::function<bool(const CParameterField*, const CParameterField*)>& less) {
    if (!indexed_ || sharedKeys_) {
        std::stable_sort(fields_.begin(), fields_.end(), less);
        indexed_ = false;
        return;
    }
    // Sorted by position, so the index is carried over to the new positions, not built again.
    std::vector<std::size_t> order(fields_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return less(fields_[a], fields_[b]); });
    std::vector<std::size_t> newPosition(fields_.size());
    std::vector<CParameterField*> sorted(fields_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        sorted[i] = fields_[order[i]];
        newPosition[order[i]] = i;
    }
    fields_ = std::move(sorted);
    for (CNameIndex* index : {&exactIndex_, &literalIndex_, &keyIndex_}) {
        index->MapPositions([&newPosition](std::size_t position) { return newPosition[position]; });
    }
    for (std::size_t& position : patternFields_) {
        position = newPosition[position];
    }
    std::sort(patternFields_.begin(), patternFields_.end());
}

int CFieldList::IndexOf(const CParameterField* field) const {
    auto it = std::find(fields_.begin(), fields_.end(), field);
    return it == fields_.end() ? -1 : static_cast<int>(it - fields_.begin());
}

void CFieldList::BuildIndex() const {
    exactIndex_.Clear();
    literalIndex_.Clear();
    keyIndex_.Clear();
    patternFields_.clear();
    sharedKeys_ = false;
    anchoredOnly_ = true;
    exactIndex_.Reserve(fields_.size());
    literalIndex_.Reserve(fields_.size());
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const std::wstring& pattern = fields_[i]->NamePattern();
        anchoredOnly_ = anchoredOnly_ && pattern.starts_with(L'^');
        bool added = exactIndex_.Emplace(pattern, i);
        const CNamePattern& parsed = fields_[i]->ParsedPattern();
        if (parsed.IsLiteral()) {
            added = literalIndex_.Emplace(parsed.UpperLiteralText(), i) && added;
        } else if (!parsed.Key().empty()) {
            added = keyIndex_.Emplace(parsed.Key(), i) && added;
        } else {
            patternFields_.push_back(i);
        }
        sharedKeys_ = sharedKeys_ || !added;
    }
    indexed_ = true;
}

CParameterField* CFieldList::FindField(const std::wstring& name) const {
    if (fields_.size() < kIndexThreshold) {
        return FindOneByOne(name);
    }
    // The rules name their parents by pattern: most lookups end here, before any key is made.
    if (CParameterField* exact = FindExact(name)) {
        return exact;
    }
    thread_local SNameKeys keys;
    return FindByKeys(name, keys.Of(name));
}

CParameterField* CFieldList::FindField(const std::wstring& name, const SNameKeys& keys) const {
    if (fields_.size() < kIndexThreshold) {
        return FindOneByOne(name);
    }
    if (CParameterField* exact = FindExact(name)) {
        return exact;
    }
    return FindByKeys(name, keys);
}

CParameterField* CFieldList::FindExact(const std::wstring& name) const {
    if (!indexed_) {
        BuildIndex();
    }
    if (anchoredOnly_ && !name.starts_with(L'^')) {
        return nullptr;
    }
    const std::size_t at = exactIndex_.Find(name);
    return at == CNameIndex::npos ? nullptr : fields_[at];
}

CParameterField* CFieldList::FindByKeys(const std::wstring& name, const SNameKeys& keys) const {
    std::size_t best =
        std::min({fields_.size(), literalIndex_.Find(keys.Upper()), keyIndex_.Find(keys.Key())});
    for (std::size_t i : patternFields_) {
        if (i >= best) {
            break;
        }
        if (PatternMatches(fields_[i], name)) {
            best = i;
            break;
        }
    }
    return best < fields_.size() ? fields_[best] : nullptr;
}

CParameterField* CFieldList::FindOneByOne(const std::wstring& name) const {
    for (CParameterField* f : fields_) {
        if (f->NamePattern() == name) {
            return f;
        }
    }
    for (CParameterField* f : fields_) {
        if (PatternMatches(f, name)) {
            return f;
        }
    }
    return nullptr;
}

CParameterField& CFieldList::GetField(const std::wstring& name) const {
    CParameterField* f = FindField(name);
    if (!f) {
        throw filegen_error(orvik::Format(L"Couldn't find field %s in field list.", {name}));
    }
    return *f;
}

CParameterField* CFieldList::FindFieldInScope(const std::wstring& name) const {
    for (const CFieldList* list = this; list; list = list->enclosing_) {
        if (CParameterField* f = list->FindField(name)) {
            return f;
        }
    }
    return nullptr;
}

const SFormState& CFieldList::FormState() const {
    static const SFormState outsideAnyForm;
    for (const CFieldList* list = this; list; list = list->enclosing_) {
        if (list->formState_) {
            return *list->formState_;
        }
    }
    return outsideAnyForm;
}

void CFieldList::PropagateChange(std::size_t start, const CParameterField* changed, bool all) {
    const bool everyField = all || changed == nullptr;
    const SFormState& form = FormState();
    for (std::size_t i = start + 1; i < fields_.size(); ++i) {
        CParameterField* f = fields_[i];
        if (everyField || f->FindParent(changed->NamePattern())) {
            UpdateAvailability(f, form);
        }
    }
}

// ---- CFieldGroup ----

CFieldGroup::CFieldGroup(CFieldGroupList* ownerList, int instanceNumber, CFieldList* enclosingList)
    : ownerList_(ownerList), instanceNumber_(instanceNumber) {
    fields_.SetEnclosingList(enclosingList);
}

CFieldGroup::~CFieldGroup() {
    childList_.reset();
    fields_.Clear();
}

int CFieldGroup::Depth() const {
    int depth = 1;
    for (const CFieldGroupList* list = ownerList_; list && list->OwnerGroup();
         list = list->OwnerGroup()->OwnerList()) {
        ++depth;
    }
    return depth;
}

void CFieldGroup::PopulateFields() {
    ownerList_->fieldFactory_(fields_);
    for (CParameterField* f : fields_) {
        f->SetGroup(this);
    }
}

CParameterField* CFieldGroup::FindField(const CRuleRecord& record) const {
    for (CParameterField* f : fields_) {
        if (f->IsMadeWith(record)) {
            return f;
        }
    }
    return FindField(record.namePattern);
}

CParameterField* CFieldGroup::FindField(const std::wstring& namePattern) const {
    for (CParameterField* f : fields_) {
        if (f->NamePattern() == namePattern) {
            return f;
        }
    }
    return nullptr;
}

bool CFieldGroup::IsComplete() const {
    return ownerList_ && ownerList_->CheckGroup(*this);
}

void CFieldGroup::CreateChildList(EGroupType type) {
    if (!IsRepeatedGroupType(type) || childList_) {
        return;
    }
    const CGroupPrototype* prototype = ownerList_ ? ownerList_->childPrototype_.get() : nullptr;
    if (!prototype || prototype->type != type) {
        throw filegen_error(
            orvik::Format(L"Couldn't get group prototype: id = %d.", {orvik::ToWideSigned(NumberOf(type))}));
    }
    childList_ = std::make_unique<CFieldGroupList>(*prototype, &fields_, this);
    childList_->initializer_(*childList_);
}

bool CFieldGroup::IsReusableFor(const CFieldGroup& blank) const {
    if (ownerList_ != blank.ownerList_ || fields_.Size() != blank.fields_.Size()) {
        return false;
    }
    for (std::size_t i = 0; i < fields_.Size(); ++i) {
        const CParameterField* f = fields_.At(i);
        const CParameterField* b = blank.fields_.At(i);
        if (f->Group() != this || &f->ParsedPattern() != &b->ParsedPattern() || typeid(*f) != typeid(*b) ||
            f->Parents().size() != b->Parents().size()) {
            return false;
        }
    }
    return true;
}

void CFieldGroup::ResetFromBlank(const CFieldGroup& blank, int instanceNumber) {
    instanceNumber_ = instanceNumber;
    for (std::size_t i = 0; i < fields_.Size(); ++i) {
        CParameterField* f = fields_.At(i);
        f->ResetFrom(*blank.fields_.At(i));
        f->CopyFrom(*blank.fields_.At(i));
    }
    if (childList_) {
        childList_->Clear();
    }
}

std::unique_ptr<CFieldGroup> CFieldGroup::CopyBlank(const CFieldGroup& blank, int instanceNumber) {
    return CopyBlankInto(blank, instanceNumber, blank.ownerList_, blank.fields_.EnclosingList(), nullptr,
                         nullptr);
}

std::unique_ptr<CFieldGroup> CFieldGroup::CopyBlankInto(const CFieldGroup& blank, int instanceNumber,
                                                        CFieldGroupList* ownerList, CFieldList* enclosingList,
                                                        const CFieldGroup* from, const CFieldGroup* to) {
    auto copy = std::make_unique<CFieldGroup>(ownerList, instanceNumber, enclosingList);
    const std::vector<CParameterField*>& sources = blank.fields_.Fields();
    copy->fields_.Reserve(sources.size());
    for (const CParameterField* f : sources) {
        std::unique_ptr<CParameterField> f2 = f->Clone();
        f2->CopyFrom(*f);
        f2->SetGroup(copy.get());
        copy->fields_.Append(f2.release());
    }
    for (std::size_t i = 0; i < sources.size(); ++i) {
        // The blank's parents are distinct and so are their copies. Most are outside the group (the
        // page's, the SVID's) and stay: when all are, the copy shares the blank's list. One of the
        // blank's own fields is found among a dozen.
        const std::vector<CParameterField*>& blankParents = sources[i]->Parents();
        const auto moves = [&](const CParameterField* parent) {
            return parent->Group() == &blank || (from && parent->Group() == from);
        };
        if (std::none_of(blankParents.begin(), blankParents.end(), moves)) {
            copy->fields_.At(i)->ShareParentsOf(*sources[i]);
            continue;
        }
        std::vector<CParameterField*> parents = blankParents;
        for (CParameterField*& parent : parents) {
            if (parent->Group() == &blank) {
                auto it = std::find(sources.begin(), sources.end(), parent);
                if (it != sources.end()) {
                    parent = copy->fields_.At(static_cast<std::size_t>(it - sources.begin()));
                }
            } else if (from && parent->Group() == from) {
                const std::vector<CParameterField*>& owners = from->fields_.Fields();
                auto it = std::find(owners.begin(), owners.end(), parent);
                if (it != owners.end()) {
                    parent = to->fields_.At(static_cast<std::size_t>(it - owners.begin()));
                }
            }
        }
        copy->fields_.At(i)->SetDistinctParents(std::move(parents));
    }
    return copy;
}

std::unique_ptr<CFieldGroup>
CFieldGroup::CopyMapped(const CFieldGroup& source, CFieldGroupList* ownerList, CFieldList* enclosingList,
                        const CFieldGroup* from, const CFieldGroup* to,
                        const std::function<CParameterField*(const CParameterField*)>& outside) {
    auto copy = std::make_unique<CFieldGroup>(ownerList, source.instanceNumber_, enclosingList);
    const std::vector<CParameterField*>& sources = source.fields_.Fields();
    copy->fields_.Reserve(sources.size());
    for (const CParameterField* f : sources) {
        std::unique_ptr<CParameterField> f2 = f->Clone();
        f2->CopyFrom(*f);
        f2->SetGroup(copy.get());
        f2->SetEnabled(f->IsEnabled());
        f2->SetChanged(f->IsChanged());
        f2->SetFileEntry(f->FileEntryName(), f->FileEntryValue());
        copy->fields_.Append(f2.release());
    }
    // By position, as CopyBlankInto links a blank's copy: looking every parent up by name would
    // cost most of the copy.
    const auto placeIn = [](const CFieldGroup& group, const CParameterField* field) {
        const std::vector<CParameterField*>& fields = group.fields_.Fields();
        return static_cast<std::size_t>(std::find(fields.begin(), fields.end(), field) - fields.begin());
    };
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::vector<CParameterField*>& sourceParents = sources[i]->Parents();
        if (sourceParents.empty()) {
            continue;
        }
        std::vector<CParameterField*> parents;
        parents.reserve(sourceParents.size());
        for (const CParameterField* parent : sourceParents) {
            CParameterField* mapped = nullptr;
            if (parent->Group() == &source) {
                const std::size_t at = placeIn(source, parent);
                mapped = at < sources.size() ? copy->fields_.At(at) : nullptr;
            } else if (from && parent->Group() == from) {
                const std::size_t at = placeIn(*from, parent);
                mapped = at < to->fields_.Size() ? to->fields_.At(at) : nullptr;
            } else {
                mapped = outside(parent);
            }
            if (!mapped) {
                mapped = copy->fields_.FindFieldInScope(parent->NamePattern());
            }
            if (mapped) {
                parents.push_back(mapped);
            }
        }
        copy->fields_.At(i)->SetDistinctParents(std::move(parents));
    }
    if (ownerList) {
        copy->CreateChildList(ownerList->ChildType());
    }
    if (source.childList_ && copy->childList_) {
        for (const auto& child : source.childList_->groups_) {
            copy->childList_->groups_.push_back(
                CopyMapped(*child, copy->childList_.get(), &copy->fields_, &source, copy.get(), outside));
        }
    }
    return copy;
}

std::unique_ptr<CFieldGroup> CFieldGroup::Clone() const {
    return CloneInto(ownerList_, fields_.EnclosingList());
}

std::unique_ptr<CFieldGroup> CFieldGroup::CloneInto(CFieldGroupList* ownerList,
                                                    CFieldList* enclosingList) const {
    auto copy = std::make_unique<CFieldGroup>(ownerList, instanceNumber_, enclosingList);
    for (const CParameterField* f : fields_) {
        std::unique_ptr<CParameterField> f2 = f->Clone();
        f2->CopyFrom(*f);
        f2->SetGroup(copy.get());
        copy->fields_.Append(f2.release());
    }
    copy->fields_.SetEnclosingList(enclosingList);
    if (ownerList) {
        ownerList->fieldFactory_(copy->fields_);
    }
    for (const CParameterField* f : fields_) {
        if (CParameterField* f2 = copy->fields_.FindField(f->NamePattern())) {
            f2->SetValue(f->Value());
            f2->SetAvailable(f->IsAvailable());
            f2->SetFileEntry(f->FileEntryName(), f->FileEntryValue());
        }
    }
    for (CParameterField* f2 : copy->fields_) {
        f2->SetGroup(copy.get());
        f2->ResolveParents(copy->fields_);
    }
    if (ownerList) {
        copy->CreateChildList(ownerList->ChildType());
    }
    if (childList_ && copy->childList_) {
        // The modes are cloned straight into the copy's mode list, so their parents resolve against
        // the copied SVID, not the source one.
        for (const auto& child : childList_->groups_) {
            copy->childList_->groups_.push_back(child->CloneInto(copy->childList_.get(), &copy->fields_));
        }
    }
    return copy;
}

void CFieldGroup::WriteText(std::wstring& out) const {
    const auto indent = static_cast<std::size_t>(4 * Depth());
    // One line buffer for every group written: it is done with before the child groups are.
    thread_local std::wstring line;
    for (const CParameterField* f : fields_) {
        if (!f->IsAvailable()) {
            continue;
        }
        f->GetOutputLine(line);
        if (f->WriteComment()) {
            f->AppendComment(line);
        }
        out.append(indent, L' ');
        out += line;
        out += L"\r\n";
    }
    out += L"\r\n";
    if (childList_) {
        for (const auto& child : childList_->groups_) {
            child->WriteText(out);
        }
    }
}

// ---- CFieldGroupList ----

CFieldGroupList::CFieldGroupList(const CGroupPrototype& prototype, CFieldList* enclosingList,
                                 CFieldGroup* ownerGroup)
    : type_(prototype.type), childType_(prototype.childType), summary_(prototype.summary),
      groupCheck_(prototype.groupCheck), listCheck_(prototype.listCheck), initializer_(prototype.initializer),
      fieldFactory_(prototype.fieldFactory), childPrototype_(prototype.child), enclosing_(enclosingList),
      ownerGroup_(ownerGroup) {}

const CFieldGroup* CFieldGroupList::SiblingBlank() const {
    const CFieldGroupList* owners = ownerGroup_ ? ownerGroup_->ownerList_ : nullptr;
    if (!owners) {
        return nullptr;
    }
    const CFieldList& ownFields = ownerGroup_->fields_;
    for (const auto& group : owners->groups_) {
        const CFieldGroupList* list = group->childList_.get();
        if (!list || list == this || !list->blank_ || list->type_ != type_ ||
            group->fields_.Size() != ownFields.Size()) {
            continue;
        }
        bool sameShape = true;
        for (std::size_t i = 0; i < ownFields.Size() && sameShape; ++i) {
            sameShape = &group->fields_.At(i)->ParsedPattern() == &ownFields.At(i)->ParsedPattern();
        }
        if (sameShape) {
            return list->blank_.get();
        }
    }
    return nullptr;
}

std::unique_ptr<CFieldGroup> CFieldGroupList::MakeGroup(int number) {
    if (!blank_) {
        // Linking a blank mode to its SVID and the page looks every parent up by name: the first
        // SVID's blank, copied and pointed at this SVID's fields, is the same at a fraction of it.
        if (const CFieldGroup* sibling = SiblingBlank()) {
            blank_ = CFieldGroup::CopyBlankInto(*sibling, 0, this, enclosing_,
                                                sibling->ownerList_->ownerGroup_, ownerGroup_);
        } else {
            blank_ = std::make_unique<CFieldGroup>(this, 0, enclosing_);
            blank_->PopulateFields();
        }
    }
    std::unique_ptr<CFieldGroup> group;
    if (!spare_.empty()) {
        group = std::move(spare_.back());
        spare_.pop_back();
        group->ResetFromBlank(*blank_, number);
    } else {
        group = CFieldGroup::CopyBlank(*blank_, number);
    }
    group->CreateChildList(childType_);
    return group;
}

CFieldGroup& CFieldGroupList::AppendNewGroup() {
    groups_.push_back(MakeGroup(static_cast<int>(groups_.size()) + 1));
    return *groups_.back();
}

void CFieldGroupList::Append(std::unique_ptr<CFieldGroup> group) {
    group->SetOwnerList(this);
    groups_.push_back(std::move(group));
    Renumber();
}

void CFieldGroupList::AppendCopyOf(const CFieldGroup& group, const FieldMap& outside) {
    groups_.push_back(CFieldGroup::CopyMapped(group, this, enclosing_, nullptr, nullptr, outside));
    Renumber();
}

void CFieldGroupList::Insert(std::size_t pos, std::unique_ptr<CFieldGroup> group) {
    group->SetOwnerList(this);
    pos = std::min(pos, groups_.size());
    groups_.insert(groups_.begin() + static_cast<std::ptrdiff_t>(pos), std::move(group));
    Renumber();
}

void CFieldGroupList::Replace(std::size_t pos, std::unique_ptr<CFieldGroup> group) {
    if (pos >= groups_.size()) {
        return;
    }
    group->SetOwnerList(this);
    groups_[pos] = std::move(group);
    Renumber();
}

void CFieldGroupList::Delete(std::size_t pos) {
    if (pos >= groups_.size()) {
        return;
    }
    groups_.erase(groups_.begin() + static_cast<std::ptrdiff_t>(pos));
    Renumber();
}

void CFieldGroupList::Clear() {
    // The blank stays: it is never evaluated, so it is as the field factory made it, and its links
    // outside the group point to fields that outlive the list. Every load clears every list, and
    // building the blank again would cost more than copying it for each group.
    for (std::unique_ptr<CFieldGroup>& group : groups_) {
        if (blank_ && group->IsReusableFor(*blank_)) {
            spare_.push_back(std::move(group));
        }
    }
    groups_.clear();
}

void CFieldGroupList::Renumber() {
    for (std::size_t i = 0; i < groups_.size(); ++i) {
        groups_[i]->SetInstanceNumber(static_cast<int>(i) + 1);
    }
}

void CFieldGroupList::RunRefreshActions() {
    for (const auto& group : groups_) {
        for (CParameterField* f : group->Fields()) {
            const FieldAction& refresh = f->Rule().refresh;
            if (!refresh) {
                continue;
            }
            try {
                refresh(f);
            } catch (const fieldlist_error& e) {
                Log(std::string_view(e.what()));
            }
        }
        if (group->ChildList()) {
            group->ChildList()->RunRefreshActions();
        }
    }
}

bool CFieldGroupList::PropagateChange(const CParameterField* changed, bool all) {
    bool anyPresent = false;
    for (const auto& group : groups_) {
        CFieldList& fields = group->Fields();
        if (!fields.Empty()) {
            UpdateAvailability(fields.At(0), fields.FormState());
            fields.PropagateChange(0, changed, all);
        }
        if (group->ChildList()) {
            group->ChildList()->PropagateChange(changed, all);
        }
        for (const CParameterField* f : fields) {
            if (f->IsAvailable() || !f->FileEntryValue().empty()) {
                anyPresent = true;
                break;
            }
        }
    }
    return anyPresent;
}
