#include "ui/RecentFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace {

constexpr const char* kKey = "RecentFiles";

QString Normalised(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

QSettings ProgramSettings() {
    const QString application = QCoreApplication::applicationName();
    const QString organisation = QCoreApplication::organizationName();
    return QSettings(QSettings::IniFormat, QSettings::UserScope,
                     organisation.isEmpty() ? application : organisation, application);
}

QVariant ProgramSetting(const QString& key, const QVariant& fallback) {
    QSettings settings = ProgramSettings();
    // Elsewhere the file was read when opened, and this finds it unchanged.
    settings.sync();
    return settings.value(key, fallback);
}

CRecentFiles::CRecentFiles() {
    writer_.setMaxThreadCount(1);
}

CRecentFiles::~CRecentFiles() {
    writer_.waitForDone();
}

QStringList CRecentFiles::Files() {
    writer_.waitForDone();
    return ProgramSetting(QLatin1String(kKey)).toStringList();
}

QStringList CRecentFiles::Add(const QString& path) {
    return Store(WithFirst(Files(), path));
}

QStringList CRecentFiles::Remove(const QString& path) {
    return Store(Without(Files(), path));
}

QStringList CRecentFiles::Store(const QStringList& files) {
    writer_.start([files] {
        QSettings settings = ProgramSettings();
        settings.setValue(kKey, files);
    });
    return files;
}

QStringList CRecentFiles::WithFirst(QStringList files, const QString& path) {
    files = Without(std::move(files), path);
    files.prepend(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    while (files.size() > kLimit) {
        files.removeLast();
    }
    return files;
}

QStringList CRecentFiles::Without(QStringList files, const QString& path) {
    files.removeIf([&](const QString& file) { return SameFile(file, path); });
    return files;
}

bool CRecentFiles::SameFile(const QString& a, const QString& b) {
#ifdef Q_OS_WIN
    constexpr Qt::CaseSensitivity kCase = Qt::CaseInsensitive;
#else
    constexpr Qt::CaseSensitivity kCase = Qt::CaseSensitive;
#endif
    return Normalised(a).compare(Normalised(b), kCase) == 0;
}
