#include "ui/QtPrompt.h"

#include "text/Version.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

int RunBox(QWidget* parent, QMessageBox::Icon icon, const std::wstring& text,
           QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton,
           QMessageBox::StandardButton escapeButton) {
    QMessageBox box(icon, ToQString(orvik::TitleText()), ToQString(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton);
    box.setEscapeButton(escapeButton);
    return box.exec();
}

} // namespace

QWidget* CQtPrompt::Owner() const {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    return parent_;
}

void CQtPrompt::ShowError(const std::wstring& text) {
    RunBox(Owner(), QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
}

void CQtPrompt::ShowInformation(const std::wstring& text) {
    RunBox(Owner(), QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok);
}

bool CQtPrompt::AskYesNo(const std::wstring& text) {
    return RunBox(Owner(), QMessageBox::NoIcon, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                  QMessageBox::No) == QMessageBox::Yes;
}

bool CQtPrompt::AskYesNoDefaultNo(const std::wstring& text) {
    return RunBox(Owner(), QMessageBox::NoIcon, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                  QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::wstring> CQtPrompt::ChooseFileToOpen(unsigned& errorCode) {
    errorCode = 0;
    const QString path = QFileDialog::getOpenFileName(Owner(), QStringLiteral("Open"), QString(),
                                                      QStringLiteral("Text Files (*.txt)"));
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return ToWString(path);
}

void CQtLogPlatform::ShowMessage(const std::wstring& text) {
    QMessageBox box(QMessageBox::NoIcon, ToQString(orvik::TitleText()), ToQString(text), QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
