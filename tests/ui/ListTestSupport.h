#pragma once

#include "UiTestBase.h"

#include "sheet/GroupListEditor.h"
#include "ui/GroupDialog.h"
#include "ui/ListPanel.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <string>

// Group dialogs opened by the window's list panels are run without blocking: each one is shown,
// handed to the next step of the script, and its result answered once the step has pressed OK or
// Cancel.
class CDialogScript {
public:
    using Step = std::function<void(CGroupDialog&)>;

    explicit CDialogScript(CSheetWindow& window) : window_(window) {
        window_.Hooks().SetGroupDialogRunner([this](CGroupDialog& dialog) {
            ++opened;
            captions << dialog.windowTitle();
            dialog.show();
            if (!steps_.empty()) {
                Step step = steps_.front();
                steps_.erase(steps_.begin());
                step(dialog);
            }
            if (dialog.isVisible()) {
                dialog.reject();
            }
            return dialog.result();
        });
    }
    ~CDialogScript() { window_.Hooks().SetGroupDialogRunner(nullptr); }
    CDialogScript(const CDialogScript&) = delete;
    CDialogScript& operator=(const CDialogScript&) = delete;

    void Then(Step step) { steps_.push_back(std::move(step)); }

    int opened = 0;
    QStringList captions;

private:
    CSheetWindow& window_;
    std::vector<Step> steps_;
};

inline void PressOk(CGroupDialog& dialog) {
    QTest::mouseClick(dialog.Buttons()->button(QDialogButtonBox::Ok), Qt::LeftButton);
}

inline void PressCancel(CGroupDialog& dialog) {
    QTest::mouseClick(dialog.Buttons()->button(QDialogButtonBox::Cancel), Qt::LeftButton);
}

// Types into the dialog's box for the field `name` (printable name), replacing its text.
inline void TypeInto(CGroupDialog& dialog, const QString& name, const QString& text) {
    auto* edit = dialog.findChild<QLineEdit*>(name);
    QVERIFY2(edit, qPrintable(name));
    QVERIFY2(edit->isEnabled(), qPrintable(name));
    edit->setFocus(Qt::TabFocusReason);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

// Moves the dialog's pull-down for `name` to the item with `itemText` with the arrow keys.
inline void ChooseIn(CGroupDialog& dialog, const QString& name, const QString& itemText) {
    auto* combo = dialog.findChild<QComboBox*>(name);
    QVERIFY2(combo, qPrintable(name));
    const int target = combo->findText(itemText);
    QVERIFY2(target >= 0, qPrintable(itemText));
    combo->setFocus(Qt::TabFocusReason);
    for (int guard = 0; combo->currentIndex() != target && guard < 50; ++guard) {
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    }
    QCOMPARE(combo->currentIndex(), target);
}

// The value of a field of group `index` of a sheet list, by name pattern.
inline QString GroupValue(const CFieldGroupList& list, std::size_t index, const std::wstring& pattern) {
    const CParameterField* field = list.At(index).FindField(pattern);
    return field ? QString::fromStdWString(field->Value()) : QStringLiteral("<none>");
}

inline QStringList LinesOf(const QListWidget* list) {
    QStringList lines;
    for (int i = 0; i < list->count(); ++i) {
        lines << list->item(i)->text();
    }
    return lines;
}

inline bool LineRed(const QListWidget* list, int row) {
    return list->item(row)->data(CListLineDelegate::kInvalidRole).toBool();
}
