#pragma once

#include <QString>
#include <QStringList>

class QTextEdit;

// The program versions the release notes cover, newest first.
const QStringList& ReleaseNoteVersions();

// What every version has no record of: the one line its notes hold.
QString NoRecordOfVersion();

// Writes the release notes: a centred title, then each version's heading and its list of changes.
void FillReleaseNotes(QTextEdit& text);
