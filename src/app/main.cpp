#include "ui/Application.h"
#include "ui/QtPrompt.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    COrvikApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvik-generator"));
    CQtLogPlatform logPlatform;
    CQtPrompt prompt;
    return RunApplication(prompt, logPlatform);
}
