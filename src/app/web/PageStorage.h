#pragma once

#include <QString>

class QCoreApplication;

// What the desktop keeps on disk from one run to the next (the settings with the recent files, the
// copy of unsaved answers in the state folder, and here the files chosen in the browser's file
// picker) is kept in the browser's own storage for the site (IndexedDB), so that a reload or a
// closed tab loses none of it.
//
// PageStorage.js fills the page's folders for these from the browser's storage before the program
// starts, and writes whatever changes in them back to the storage within a second and when the page
// is hidden or left; this checks that the folders Qt names for them are among those, and has them
// written back when the window closes.
void KeepPageFilesInBrowserStorage(QCoreApplication& app);

// The folder that keeps the files chosen in the browser's file picker, each under its own name.
QString ChosenFilesFolder();
