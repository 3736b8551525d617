#include "PageWindow.h"

#include "logging/Logger.h"
#include "ui/SheetWindow.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QString>

namespace {

void Download(const QString& path) {
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        QFileDialog::saveFileContent(file.readAll(), QFileInfo(path).fileName());
    }
}

void AddSaveLogButton(CSheetWindow& window) {
    auto* buttons = window.findChild<QWidget*>(QStringLiteral("IntroButtons"));
    auto* row = buttons ? qobject_cast<QHBoxLayout*>(buttons->layout()) : nullptr;
    if (!row) {
        return;
    }
    auto* save = new QPushButton(QStringLiteral("Save log"), buttons);
    save->setObjectName(QStringLiteral("SaveLog"));
    save->setToolTip(QStringLiteral("Download the log of this run"));
    save->setAutoDefault(false);
    // Before the stretch that ends the row.
    row->insertWidget(row->count() - 1, save);
    QObject::connect(save, &QPushButton::clicked, save, [] {
        if (const auto* logger = dynamic_cast<const CLogger*>(CurrentLogSink())) {
            Download(QString::fromStdString(logger->Path()));
        }
    });
}

} // namespace

void AdaptWindowToPage(CSheetWindow& window) {
    QObject::connect(&window, &CSheetWindow::formSaved, &window, Download);
    AddSaveLogButton(window);
}
