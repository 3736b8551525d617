#pragma once

#include <regex>
#include <string>

namespace orvik {

// std::wregex is expensive to build; every pattern is compiled once per process and kept.
// Throws std::regex_error when the pattern does not compile (the failure is not cached).
const std::wregex& CachedRegex(const std::wstring& pattern, bool ignoreCase);

} // namespace orvik
