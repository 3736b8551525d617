#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvik {

// The path the system opens for the form's wide text: its UTF-8 bytes where file names are bytes,
// the text itself where they are UTF-16, so a folder or vendor name with accents names the same file
// on every system.
std::filesystem::path ToPath(std::wstring_view text);

} // namespace orvik
