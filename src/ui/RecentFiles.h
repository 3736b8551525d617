#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <QThreadPool>

// The program's settings under the organisation and application names it runs with; a program
// that names no organisation keeps them under its own name. A file of settings on every system, so
// that tests can send it to a folder of their own.
QSettings ProgramSettings();
// One of the program's settings as its file holds it now; `fallback` when it holds none. Qt for
// WebAssembly reads the file at the first sync rather than when the settings are opened.
QVariant ProgramSetting(const QString& key, const QVariant& fallback = {});

// The files last loaded into the form or saved from it, most recent first, kept in the user's
// settings from one run to the next. Reading the settings is quick; writing them waits twice for the
// disk (their lock file and the file itself), which must not hold up the window: the lists are
// written by one worker, one after the other, and the last is written before the object goes.
class CRecentFiles {
public:
    static constexpr int kLimit = 8;

    CRecentFiles();
    ~CRecentFiles();
    CRecentFiles(const CRecentFiles&) = delete;
    CRecentFiles& operator=(const CRecentFiles&) = delete;

    // The list as the settings hold it once the lists handed to the worker are written.
    QStringList Files();
    // Puts `path` first, or takes it out, and gives the new list at once.
    QStringList Add(const QString& path);
    QStringList Remove(const QString& path);

    // `files` with `path` first, each file once, at most kLimit.
    static QStringList WithFirst(QStringList files, const QString& path);
    // `files` without `path`.
    static QStringList Without(QStringList files, const QString& path);
    // Whether two paths name one file as the system sees it: the same absolute path once "." and
    // ".." are resolved, or the same file through a link; on Windows letter case does not count.
    static bool SameFile(const QString& a, const QString& b);

private:
    // Hands `files` to the worker and gives them back.
    QStringList Store(const QStringList& files);

    QThreadPool writer_;
};
