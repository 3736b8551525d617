#pragma once

#include <QString>
#include <QStringList>

// The files last loaded into the form or saved from it, most recent first, kept in the user's
// settings from one run to the next.
class CRecentFiles {
public:
    static constexpr int kLimit = 8;

    // The list as the settings hold it now.
    static QStringList Files();
    // Puts `path` first.
    static void Add(const QString& path);
    static void Remove(const QString& path);

    // `files` with `path` first, each file once, at most kLimit.
    static QStringList WithFirst(QStringList files, const QString& path);
    // `files` without `path`.
    static QStringList Without(QStringList files, const QString& path);
    // Whether two paths name one file as the system sees it: the same absolute path once "." and
    // ".." are resolved, or the same file through a link; on Windows letter case does not count.
    static bool SameFile(const QString& a, const QString& b);

private:
    static void Store(const QStringList& files);
};
