#include "ui/WindowHooks.h"

#include "ui/GroupDialog.h"

#include <QApplication>

void CWindowHooks::Ring() const {
    if (beep_) {
        beep_();
    } else {
        QApplication::beep();
    }
}

int CWindowHooks::RunGroupDialog(CGroupDialog& dialog) const {
    return groupDialogRunner_ ? groupDialogRunner_(dialog) : dialog.exec();
}

int CWindowHooks::RunDialog(QDialog& dialog) const {
    return dialogRunner_ ? dialogRunner_(dialog) : dialog.exec();
}
