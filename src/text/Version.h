#pragma once

#include <string>

namespace orvik {

// The version the build defines (the project's VERSION).
extern const wchar_t* const kGeneratorVersion;
inline constexpr const wchar_t* kFormatRevision = L"1.36";
inline constexpr const wchar_t* kFormatVersion = L"1.0";

// "Halvex Marnel File Generator, Version <version>": the producer line of every file and log.
std::wstring ProducerText();
// "Revision 1.36, Version 1.0": the format a file is written in.
std::wstring SpecificationText();
// "Orvik Generator <version>": the sheet's caption.
std::wstring TitleText();

} // namespace orvik
