#pragma once

#include "LogCapture.h"

#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <string>

// A new form of the program's own rules, as the window starts it, with what it logs kept aside: the
// suites answer its questions as a user does and load files into it as the Load command does.
class CFormFixture : public ::testing::Test {
protected:
    void SetUp() override { sheet.Initialize(); }

    // A user's answer to the field called `name`; a failure when the form has no such field.
    void Answer(const std::wstring& name, const std::wstring& value) {
        CParameterField* field = sheet.FindField(name);
        ASSERT_NE(field, nullptr) << std::string(name.begin(), name.end());
        sheet.ApplyUserChange(field, value);
    }
    // The file's bytes loaded into the form.
    bool Load(const std::string& bytes, const std::wstring& path = L"C:\\dir\\in.txt") {
        return LoadOrvikBytes(sheet, path, bytes);
    }

    CScopedLogCapture log;
    // The questions and boxes of the form, answered as each test scripts them.
    CScriptedPrompt prompt;
    CMarnelPropertySheet sheet{&prompt};
};
