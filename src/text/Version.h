#pragma once

#include <string>

namespace orvik {

inline constexpr const wchar_t* kGeneratorVersion = L"1.2.2.2";
inline constexpr const wchar_t* kFormatRevision = L"1.36";
inline constexpr const wchar_t* kFormatVersion = L"1.0";

// "Halvex Marnel File Generator, Version 1.2.2.2": the producer line of every file and log.
std::wstring ProducerText();
// "Revision 1.36, Version 1.0": the format a file is written in.
std::wstring SpecificationText();
// "Orvik Generator 1.2.2.2": the sheet's caption.
std::wstring TitleText();

} // namespace orvik
