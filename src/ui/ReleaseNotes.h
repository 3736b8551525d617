#pragma once

#include <QString>
#include <QStringList>

class QTextEdit;

// Every version of this program, newest first: this one, then those before it.
const QStringList& ProgramVersions();

// Writes the release notes: a centred title, then this version's heading and its list of what it
// holds and what it upgrades. The earlier versions, whose changes this program does not know, are
// only named.
void FillReleaseNotes(QTextEdit& text);
