#pragma once

#include "model/GroupType.h"
#include "text/NameIndex.h"
#include "text/Text.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CParameterField;
struct SNameKeys;
struct CRuleRecord;
class CFieldGroup;
class CFieldGroupList;
struct SFormState;

// An ordered list of fields with a link to the list around it (the scope chain through which a
// field of a group finds parents outside the group).
class CFieldList {
public:
    explicit CFieldList(bool ownsFields = false) : ownsFields_(ownsFields) {}
    CFieldList(const CFieldList&) = delete;
    CFieldList& operator=(const CFieldList&) = delete;
    ~CFieldList();

    // Takes ownership when the list owns its fields.
    void Append(CParameterField* field);
    // Room for `count` fields in all, so that appending them does not grow the list step by step.
    void Reserve(std::size_t count) { fields_.reserve(count); }
    void Clear();
    // Stable sort; the sheet orders its fields with HasFewerParents so parents come first.
    void StableSort(const std::function<bool(const CParameterField*, const CParameterField*)>& less);

    const std::vector<CParameterField*>& Fields() const { return fields_; }
    std::size_t Size() const { return fields_.size(); }
    bool Empty() const { return fields_.empty(); }
    CParameterField* At(std::size_t i) const { return fields_[i]; }
    auto begin() const { return fields_.begin(); }
    auto end() const { return fields_.end(); }
    // Position of the field in this list, or -1.
    int IndexOf(const CParameterField* field) const;

    // The first field whose pattern equals `name`, else the first whose pattern matches the whole
    // of `name` ignoring case (so ^Src_PDO_Voltage([0-9]+)$ and Src_PDO_Voltage3 both find it).
    CParameterField* FindField(const std::wstring& name) const;
    // The same with the name's keys already made.
    CParameterField* FindField(const std::wstring& name, const SNameKeys& keys) const;
    // As FindField; a miss is a filegen_error "Couldn't find field %s in field list.".
    CParameterField& GetField(const std::wstring& name) const;
    // FindField here, then in the enclosing lists outwards.
    CParameterField* FindFieldInScope(const std::wstring& name) const;

    // Re-evaluates the availability of the fields after `start`: every one with `all`, else those
    // that have the changed field among their parents.
    void PropagateChange(std::size_t start, const CParameterField* changed, bool all);

    CFieldList* EnclosingList() const { return enclosing_; }
    void SetEnclosingList(CFieldList* list) { enclosing_ = list; }

    // The state of the form the list belongs to: the first one set along the enclosing lists (the
    // sheet sets its own on its field vector); a list outside any form has the default state.
    const SFormState& FormState() const;
    void SetFormState(const SFormState* state) { formState_ = state; }

private:
    void BuildIndex() const;

    bool ownsFields_;
    std::vector<CParameterField*> fields_;
    CFieldList* enclosing_ = nullptr;
    const SFormState* formState_ = nullptr;

    // Large lists (the sheet's) are looked up through an index built on demand. Its names are
    // views of the fields' parsed patterns, which live in the rule records and outlive every field.
    // The indexed lookup (a long list): the exact pattern, then the keys; and a short list's.
    CParameterField* FindExact(const std::wstring& name) const;
    CParameterField* FindByKeys(const std::wstring& name, const SNameKeys& keys) const;
    CParameterField* FindOneByOne(const std::wstring& name) const;
    using CNameIndex = orvik::CNameIndex;
    mutable bool indexed_ = false;
    // Two fields share a literal text or a key: then only a rebuild keeps "the first one" right.
    mutable bool sharedKeys_ = false;
    // Every pattern starts with its ^ anchor: then a name without one (every name a file holds)
    // equals none of them, and is not looked up as a pattern.
    mutable bool anchoredOnly_ = true;
    mutable CNameIndex exactIndex_;
    mutable CNameIndex literalIndex_;
    mutable CNameIndex keyIndex_;
    mutable std::vector<std::size_t> patternFields_;
};

// What a group type supplies: how a group's fields are made and linked, how a group is summarised
// and checked, and how a whole list is checked; for a type with child groups (an SVID's modes), the
// child type's prototype.
struct CGroupPrototype {
    EGroupType type = EGroupType::None;
    EGroupType childType = EGroupType::None;
    std::function<std::wstring(const CFieldGroup&)> summary;
    std::function<bool(const CFieldGroup&)> groupCheck;
    std::function<bool(const CFieldGroupList&)> listCheck;
    std::function<void(CFieldGroupList&)> initializer;
    std::function<void(CFieldList&)> fieldFactory;
    std::shared_ptr<const CGroupPrototype> child;
};

// One repeated item (a PDO, an SVID, a mode): its fields and, for an SVID, its list of modes.
class CFieldGroup {
public:
    CFieldGroup(CFieldGroupList* ownerList, int instanceNumber, CFieldList* enclosingList);
    CFieldGroup(const CFieldGroup&) = delete;
    CFieldGroup& operator=(const CFieldGroup&) = delete;
    virtual ~CFieldGroup();

    CFieldList& Fields() { return fields_; }
    const CFieldList& Fields() const { return fields_; }
    CFieldGroupList* ChildList() const { return childList_.get(); }
    CFieldGroupList* OwnerList() const { return ownerList_; }
    void SetOwnerList(CFieldGroupList* list) { ownerList_ = list; }
    int InstanceNumber() const { return instanceNumber_; }
    void SetInstanceNumber(int number) { instanceNumber_ = number; }
    // 1 for a group of a page's list, 2 for a mode of an SVID.
    int Depth() const;

    void PopulateFields();
    // Exact, case-sensitive match of name patterns among the group's own fields.
    CParameterField* FindField(const std::wstring& namePattern) const;
    // The group's field made with `record`, else the first whose pattern is the record's: the
    // loader binds a group line to its field by the record it found for the line.
    CParameterField* FindField(const CRuleRecord& record) const;
    bool IsComplete() const;
    // The list of child groups of `type`, made from the owner list's child prototype; nothing for
    // types 0 and 1 or when the list exists. Another type is a filegen_error "Couldn't get group
    // prototype: id = %d.".
    void CreateChildList(EGroupType type);
    // A deep copy with the same owner list and number: fields, values, and modes; every parent link
    // of the copy points into the copy where the source pointed into the source.
    std::unique_ptr<CFieldGroup> Clone() const;
    // Appends the group's lines for the output file: available fields indented four blanks per
    // level, an empty line, then the child groups.
    void WriteText(std::wstring& out) const;

private:
    std::unique_ptr<CFieldGroup> CloneInto(CFieldGroupList* ownerList, CFieldList* enclosingList) const;
    // A fresh group made from `blank`, a group of the same list that was never evaluated: fields
    // copied, links within the group pointing into the new group, links outside kept.
    static std::unique_ptr<CFieldGroup> CopyBlank(const CFieldGroup& blank, int instanceNumber);
    // CopyBlank into `ownerList`, a list like the blank's under another group of the same shape:
    // the parents among `from`'s fields (the group the blank's list belongs to) become `to`'s
    // fields at the same places. An SVID's modes are made so from the first SVID's blank mode.
    static std::unique_ptr<CFieldGroup> CopyBlankInto(const CFieldGroup& blank, int instanceNumber,
                                                      CFieldGroupList* ownerList, CFieldList* enclosingList,
                                                      const CFieldGroup* from, const CFieldGroup* to);
    // AppendCopyOf's copy, into `ownerList` under `enclosingList`; `from` and `to` as for
    // CopyBlankInto.
    static std::unique_ptr<CFieldGroup>
    CopyMapped(const CFieldGroup& source, CFieldGroupList* ownerList, CFieldList* enclosingList,
               const CFieldGroup* from, const CFieldGroup* to,
               const std::function<CParameterField*(const CParameterField*)>& outside);
    // True when this group has the blank's shape and no field of it has a control, so that
    // ResetFromBlank can make it what CopyBlank would.
    bool IsReusableFor(const CFieldGroup& blank) const;
    // Makes this group, made from `blank` earlier, what CopyBlank(blank, instanceNumber) makes: every
    // field as the blank's, no modes.
    void ResetFromBlank(const CFieldGroup& blank, int instanceNumber);
    friend class CFieldGroupList;

    CFieldList fields_{true};
    std::unique_ptr<CFieldGroupList> childList_;
    CFieldGroupList* ownerList_;
    int instanceNumber_;
};

// The groups of one type, numbered 1..n in list order.
class CFieldGroupList {
public:
    CFieldGroupList(const CGroupPrototype& prototype, CFieldList* enclosingList, CFieldGroup* ownerGroup);
    CFieldGroupList(const CFieldGroupList&) = delete;
    CFieldGroupList& operator=(const CFieldGroupList&) = delete;

    EGroupType Type() const { return type_; }
    EGroupType ChildType() const { return childType_; }
    CFieldList* EnclosingList() const { return enclosing_; }
    CFieldGroup* OwnerGroup() const { return ownerGroup_; }

    const std::vector<std::unique_ptr<CFieldGroup>>& Groups() const { return groups_; }
    std::size_t Size() const { return groups_.size(); }
    bool Empty() const { return groups_.empty(); }
    CFieldGroup& At(std::size_t i) const { return *groups_[i]; }

    // A new group numbered `number` with its fields, not yet in the list (a working copy for a
    // dialog); AppendNewGroup adds one numbered count + 1.
    std::unique_ptr<CFieldGroup> MakeGroup(int number);
    CFieldGroup& AppendNewGroup();
    void Append(std::unique_ptr<CFieldGroup> group);
    // Appends a copy of `group`, a group of a list of the same type in another form: answers,
    // availability, file entries, the program's marks and modes. A parent link into the group (or
    // a mode's into its SVID) points to the copy's field at the same place, one outside it to what
    // `outside` maps it to, so that answers tried on the copy leave the original alone.
    using FieldMap = std::function<CParameterField*(const CParameterField*)>;
    void AppendCopyOf(const CFieldGroup& group, const FieldMap& outside);
    // Inserts before position `pos` (0-based) and renumbers.
    void Insert(std::size_t pos, std::unique_ptr<CFieldGroup> group);
    // Replaces the group at `pos`, keeping its number.
    void Replace(std::size_t pos, std::unique_ptr<CFieldGroup> group);
    void Delete(std::size_t pos);
    // Removes every group; new ones are still copied from the same blank group.
    void Clear();
    void Renumber();

    std::wstring Summary(const CFieldGroup& group) const { return summary_(group); }
    bool CheckGroup(const CFieldGroup& group) const { return groupCheck_ ? groupCheck_(group) : false; }
    bool IsListValid() const { return listCheck_(*this); }
    void RunFieldFactory(CFieldList& list) const { fieldFactory_(list); }

    // Runs every field's refresh action, groups in order, modes after their SVID.
    void RunRefreshActions();
    // Re-evaluates every group's fields; true when at least one group still has an available field
    // or a value from the loaded file. A list whose groups all lack both no longer applies.
    bool PropagateChange(const CParameterField* changed, bool all);

private:
    EGroupType type_;
    EGroupType childType_;
    std::function<std::wstring(const CFieldGroup&)> summary_;
    std::function<bool(const CFieldGroup&)> groupCheck_;
    std::function<bool(const CFieldGroupList&)> listCheck_;
    std::function<void(CFieldGroupList&)> initializer_;
    std::function<void(CFieldList&)> fieldFactory_;
    std::shared_ptr<const CGroupPrototype> childPrototype_;
    // Built by the field factory for the first new group; later new groups are copies of it.
    std::unique_ptr<CFieldGroup> blank_;
    std::vector<std::unique_ptr<CFieldGroup>> groups_;
    // Groups cleared from the list, kept to be made new ones: every load clears every list and then
    // makes about as many groups again.
    std::vector<std::unique_ptr<CFieldGroup>> spare_;
    CFieldList* enclosing_;
    CFieldGroup* ownerGroup_;

    // The blank of another list under a group of the same kind and shape as this list's owner,
    // when one is made: this list's blank is a copy of it.
    const CFieldGroup* SiblingBlank() const;

    friend class CFieldGroup;
};
