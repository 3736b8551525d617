#pragma once

#include "catalog/PageCatalog.h"
#include "ui/InfoWindow.h"

#include <QString>

// The explanation a page shows in its own window each time it is opened.
struct SPageInfo {
    QString title; // the field the text explains
    InfoFillRoutine fill = nullptr;
};

// The explanation of `page`; an empty fill routine for pages that have none.
SPageInfo PageInfoOf(EPage page);

void FillSourceSuspendInfo(QTextEdit& text);
void FillSinkSuspendInfo(QTextEdit& text);
