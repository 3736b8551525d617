#pragma once

#include "sheet/PropertySheet.h"

#include <string>

class CParameterField;

// One form without a window, as it is at start-up or loaded from a file, answered as a user would.
class CFormSession {
public:
    explicit CFormSession(IPrompt& prompt);

    CMarnelPropertySheet& Sheet() { return sheet_; }

    // The form with the answers of a file, as the Load button leaves it. False when the file
    // cannot be read (the loader has reported why).
    bool Load(const std::wstring& path);
    // Answers one question as a user would and re-evaluates the form. A question that is not asked
    // now, is fixed by other answers or does not exist is a CCliError.
    void Set(const std::wstring& name, const std::wstring& value);
    // The question of that name; a PDO, SVID or mode the form does not hold is made first, as Set
    // makes it. A name no question has, or an item whose list is not asked, is a CCliError.
    CParameterField& Question(const std::wstring& name);

private:
    // The field of a PDO, SVID or mode whose items have just been created, once the form has
    // evaluated them; null when the form drops them again because their tab does not apply.
    CParameterField* FieldOfNewGroups(const std::wstring& name);
    void EvaluateAll();

    CMarnelPropertySheet sheet_;
};
