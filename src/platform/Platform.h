#pragma once

// The few operating-system services the core and the command-line tool need, behind one interface:
// everything else in them is the C++ standard library.

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace orvik::platform {

// Writes `bytes` to a new temporary file in the folder of `target`, makes it durable, and only then
// puts it in place of `target` in one step, so a failed save leaves any earlier file as it was. A
// target marked read-only is refused (EACCES); a replaced file keeps its permissions, a new one gets
// those an ordinary new file gets. False with the system's reason (UTF-8) in `error`; the temporary
// file never stays behind.
bool ReplaceFileContents(const std::filesystem::path& target, std::string_view bytes, std::string& error);

// std::fopen for any path the system can name; `mode` as for std::fopen. Sets errno on failure.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// The local calendar time of `time`, without the shared static buffer of std::localtime.
std::tm LocalTime(std::time_t time);

// When the file at `path` was last written, in seconds since the epoch; 0 when it cannot be told.
std::time_t FileModificationTime(const std::filesystem::path& path);

// The id of this run of the program, as IsProcessRunning knows it: the process id. A browser page
// is a run of its own, with a number drawn when the page loads.
long CurrentProcessId();

// Whether a process with this id is running now (one that cannot be looked into counts as
// running). Ids that no process can have are not running. In a browser page only the page's own
// number is running.
bool IsProcessRunning(long pid);

// Standard input, output and error carry bytes as they stand: "\n" stays one byte.
void UseBinaryStandardStreams();

// The program's arguments after its name, as UTF-8 whatever the system's own encoding of them.
std::vector<std::string> Utf8Arguments(int argc, char** argv);

} // namespace orvik::platform
