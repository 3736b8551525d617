#include "UiTestBase.h"

#include "persistence/OrvikReader.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <algorithm>

CUiFixture::CUiFixture(const std::string& loadBytes) {
    // What a window keeps between runs (recent files) goes to the toolkit's test folders, never to
    // the user's own settings.
    QStandardPaths::setTestModeEnabled(true);
    sheet.Initialize();
    if (!loadBytes.empty()) {
        LoadOrvikBytes(sheet, L"loaded.txt", loadBytes);
    }
    window = std::make_unique<CSheetWindow>(sheet);
    window->Hooks().SetBeep([this] { ++beeps; });
    window->SetSaveDirectory(dir.path().toStdWString());
    window->SetProgramDirectory(dir.path().toStdWString());
    window->show();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTRY_VERIFY(window->isActiveWindow());
}

CUiFixture::~CUiFixture() {
    window.reset();
}

QStringList CUiFixture::TabTexts() const {
    QStringList texts;
    for (int i = 0; i < window->TabWidget()->count(); ++i) {
        texts << window->TabWidget()->tabText(i);
    }
    return texts;
}

QString CUiFixture::CurrentTabText() const {
    return window->TabWidget()->tabText(window->TabWidget()->currentIndex());
}

bool CUiFixture::CaptionRed(EPage page) const {
    const int index = window->TabIndexOf(page);
    return index >= 0 && window->TabWidget()->tabBar()->tabTextColor(index) == QColor(255, 0, 0);
}

bool CUiFixture::CaptionDefault(EPage page) const {
    const int index = window->TabIndexOf(page);
    return index >= 0 && !window->TabWidget()->tabBar()->tabTextColor(index).isValid();
}

QWidget* CUiFixture::Input(const QString& name) const {
    return window->findChild<QWidget*>(name);
}

QLineEdit* CUiFixture::Edit(const QString& name) const {
    return window->findChild<QLineEdit*>(name);
}

QComboBox* CUiFixture::Combo(const QString& name) const {
    return window->findChild<QComboBox*>(name);
}

QLabel* CUiFixture::LabelOf(const QString& name) const {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() && label->buddy()->objectName() == name) {
            return label;
        }
    }
    return nullptr;
}

bool CUiFixture::IsMarkedInvalid(const QWidget* widget) {
    return widget && widget->property("invalid").toBool();
}

bool CUiFixture::Logged(const std::string& line) const {
    return std::find(log.Lines().begin(), log.Lines().end(), line) != log.Lines().end();
}

int CUiFixture::QuestionsAsked(const std::wstring& text) const {
    return static_cast<int>(
        std::count_if(prompt.History().begin(), prompt.History().end(), [&](const auto& s) {
            return s.kind == CScriptedPrompt::Shown::Question && s.text == text;
        }));
}

void CUiFixture::ClickTab(EPage page) {
    QTabBar* bar = window->TabWidget()->tabBar();
    const int index = window->TabIndexOf(page);
    QVERIFY(index >= 0);
    // A tab scrolled out of view is brought in first, as the user would with the scroll buttons.
    bar->setCurrentIndex(bar->currentIndex());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    if (window->TabWidget()->currentIndex() != index && !bar->rect().contains(bar->tabRect(index).center())) {
        bar->setCurrentIndex(index);
    }
}

void CUiFixture::Focus(QWidget* widget) {
    QVERIFY(widget);
    widget->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(widget->hasFocus());
}

void CUiFixture::Type(const QString& name, const QString& text) {
    QLineEdit* edit = Edit(name);
    QVERIFY2(edit, qPrintable(name));
    Focus(edit);
    edit->end(false);
    QTest::keyClicks(edit, text);
}

void CUiFixture::Clear(const QString& name) {
    QLineEdit* edit = Edit(name);
    QVERIFY2(edit, qPrintable(name));
    Focus(edit);
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
}

void CUiFixture::Choose(const QString& name, const QString& itemText) {
    QComboBox* combo = Combo(name);
    QVERIFY2(combo, qPrintable(name));
    const int target = combo->findText(itemText);
    QVERIFY2(target >= 0, qPrintable(itemText));
    Focus(combo);
    // Typing the start of an item selects it, as the keyboard search of a pull-down does; a blank
    // would open the list, so only the text before the first blank is typed.
    const QString prefix = itemText.section(QLatin1Char(' '), 0, 0);
    if (!prefix.isEmpty() && combo->currentIndex() != target) {
        QTest::keyClicks(combo, prefix);
    }
    for (int guard = 0; combo->currentIndex() != target && guard < 100; ++guard) {
        QTest::keyClick(combo, combo->currentIndex() < target ? Qt::Key_Down : Qt::Key_Up);
    }
    QCOMPARE(combo->currentIndex(), target);
}

int CUiFixture::ItemValue(QComboBox* combo, const QString& itemText) {
    const int index = combo->findText(itemText);
    return index < 0 ? -2 : combo->itemData(index).toInt();
}
