#pragma once

// The copies of unsaved answers that a window keeps while it runs, so that the next run can give
// them back after the program or the system ended without a save.

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CMarnelPropertySheet;

// One copy found in the state folder.
struct SRecoveryCopy {
    std::filesystem::path path;
    // The process that wrote it.
    long pid = 0;
    // When it was last written; 0 when the system does not tell.
    std::time_t modified = 0;
};

// "recovery-<pid>-<window>.txt": one name per window of a running process.
std::string RecoveryFileName(long pid, int window);
// The process id in a copy's file name; 0 for a name that is no copy's.
long RecoveryFileOwner(std::string_view fileName);

// The copies in `folder` left by processes that are no longer running, newest first. A copy of
// `ownPid` never counts: that process is this one, and its windows still keep their copies.
std::vector<SRecoveryCopy> FindOrphanedCopies(const std::filesystem::path& folder, long ownPid,
                                              const std::function<bool(long)>& isRunning);

// A copy's time as the user reads it: local time, "yyyy-MM-dd HH:mm".
std::wstring RecoveryTimeText(std::time_t time);
// "Orvik Generator was closed without saving. Restore the answers from <time>?"
std::wstring RestoreQuestion(std::time_t modified);
// Whether the bytes hold one line that a load takes as an answer: anything else cannot give answers
// back.
bool HoldsAnswers(std::string_view bytes);

// The form's answers as a save would write them; the form is only read: keeping a copy is no save.
std::string RecoveryBytes(const CMarnelPropertySheet& sheet);
