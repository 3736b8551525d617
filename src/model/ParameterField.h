#pragma once

#include "model/GroupType.h"
#include "model/NamePattern.h"
#include "model/ReadingFunction.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CNamePattern;
class CFieldGroup;
class CFieldList;
class CPulldownListField;
class CWndWrapper;
struct CRuleRecord;
class CParameterField;

using FieldPredicate = CReadingFunction<bool(const CParameterField*)>;
using FieldAction = CReadingFunction<void(CParameterField*)>;

// What the form a field belongs to tells its evaluation.
struct SFormState {
    // Once a file has been loaded, a field that becomes available again with no answer takes back
    // the value the file gave it.
    bool fileLoaded = false;
};

// One question of the form: a named parameter of the product description with its answer as text
// (empty meaning no answer), its parents, its availability and its rule record.
class CParameterField {
public:
    // The field's name pattern is its rule record's, which must belong to a rule table. `groupType`
    // 0 takes the type from the group (1 for a field without a group); a group's prototype fields,
    // built before any group exists, name their type explicitly.
    CParameterField(CWndWrapper* host, CFieldGroup* group, const CRuleRecord& rule,
                    EGroupType groupType = EGroupType::None);
    CParameterField(const CParameterField&) = delete;
    CParameterField& operator=(const CParameterField&) = delete;
    virtual ~CParameterField();

    virtual void GetOutputLine(std::wstring& out) const;
    virtual void AppendComment(std::wstring& line) const;
    virtual void SetIntValue(int value);
    virtual bool IsValid() const = 0;
    virtual void RestoreFileValue();
    virtual void SetValue(const std::wstring& text);
    virtual void CopyFrom(const CParameterField& other);
    // Makes this field what Clone() of `blank`, a field of the same kind and name, starts as: its
    // identity and defaults, no answer, no file entry. Its group and its parents stay: a group
    // reused for a new one keeps its shape. CopyFrom then takes over the blank's answers.
    virtual void ResetFrom(const CParameterField& blank);
    virtual std::unique_ptr<CParameterField> Clone() const = 0;
    // The kinds this field is, one bit per field class it is an instance of (its own and its
    // bases'): what FieldAs asks. Rules ask it of every parent they test, too often for a
    // dynamic_cast each time.
    virtual unsigned Kinds() const { return 0; }

    std::wstring GetPrintableName() const;
    void AppendPrintableName(std::wstring& out) const;
    bool IsEmpty() const;
    bool HasInvalidEntry() const;
    // The help text as the tool tip shows it, with the pointer to the format's documentation.
    static std::wstring ToolTipText(const std::wstring& help);

    void AddParent(CParameterField* parent);
    void AddParentAndItsParents(CParameterField* parent);
    // Adds, in order, each of `parents` that is neither null, nor this field, nor a parent already.
    void AddParents(std::span<CParameterField* const> parents);
    // For a parent known not to be in the list yet.
    void AddDistinctParent(CParameterField* parent);
    // Replaces the parents with distinct, non-null ones (a null is a fieldlist_error).
    void SetDistinctParents(std::vector<CParameterField*> parents);
    CParameterField* FindParent(std::wstring_view name) const;
    void ResolveParents(const CFieldList& scope);
    const std::vector<CParameterField*>& Parents() const { return parents_ ? *parents_ : NoParents(); }
    // Takes `source`'s parents as its own: a group's copy of a blank field whose parents are all
    // outside the group. The list is shared until either field changes its parents.
    void ShareParentsOf(const CParameterField& source) { parents_ = source.parents_; }

    // Complete when unavailable, or when the rule's validity predicate holds; a fieldlist_error in
    // the predicate is logged and counts as invalid.
    bool PassesValidity() const;

    const std::wstring& NamePattern() const { return parsedPattern_->Pattern(); }
    const CNamePattern& ParsedPattern() const { return *parsedPattern_; }
    const std::wstring& Value() const { return value_; }
    EGroupType GroupType() const { return groupType_; }

    CFieldGroup* Group() const { return group_; }
    void SetGroup(CFieldGroup* group) { group_ = group; }
    CWndWrapper* Host() const { return host_; }
    void SetHost(CWndWrapper* host) { host_ = host; }

    const std::wstring& FileEntryName() const { return fileEntryName_; }
    const std::wstring& FileEntryValue() const { return fileEntryValue_; }
    void SetFileEntry(std::wstring name, std::wstring value);

    bool WriteComment() const { return writeComment_; }
    void SetWriteComment(bool on) { writeComment_ = on; }
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool on) { enabled_ = on; }
    bool IsAvailable() const { return available_; }
    void SetAvailable(bool on) { available_ = on; }
    bool IsChanged() const { return changed_; }
    void SetChanged(bool on) { changed_ = on; }

    const CRuleRecord& Rule() const { return *rule_; }
    bool IsMadeWith(const CRuleRecord& record) const { return rule_ == &record; }
    // The answer is the program's, not the user's (its rule says what it is): every file written
    // holds the program's own, whatever a loaded file said.
    bool IsFilledByProgram() const;
    // Gives a program's answer its text unless it has one (`keepGiven`, as a load keeps the file's).
    void FillProgramAnswer(bool keepGiven);
    // The answer as a file is written: the program's own text for a program's answer.
    std::wstring WrittenValue() const;

    // Forced: store a value and lock it; editable: unlock it. The rules' two ways of steering a
    // field that has just become available.
    void Force(const std::wstring& value);
    void MakeEditable();

protected:
    // For Clone: the identity of `source` (name, host, group, group type and rule record) with
    // the state a new field starts with, without looking the rule up again.
    struct SCloneTag {};
    CParameterField(const CParameterField& source, SCloneTag);

private:
    CFieldGroup* group_;
    // The pattern's text lives in the rule record's parsed pattern: copies of a field share it.
    const CNamePattern* parsedPattern_;
    std::wstring value_;
    std::wstring fileEntryName_;
    std::wstring fileEntryValue_;
    bool writeComment_ = false;
    CWndWrapper* host_;
    bool enabled_ = true;
    // Null while there are none; shared between a group's blank and its copies (ShareParentsOf).
    std::shared_ptr<std::vector<CParameterField*>> parents_;
    // The parents to change: this field's own list, made or unshared first.
    std::vector<CParameterField*>& OwnParents();
    static const std::vector<CParameterField*>& NoParents();
    const CRuleRecord* rule_ = nullptr;
    EGroupType groupType_;
    bool available_ = false;
    bool changed_ = false;
};

// Re-evaluates a field's availability against its rule record; see the rule table for what runs.
void UpdateAvailability(CParameterField* field, const SFormState& form);
// The same for a field outside any loaded form.
void UpdateAvailability(CParameterField* field);
bool HasFewerParents(const CParameterField* a, const CParameterField* b);
