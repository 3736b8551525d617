#include "text/Version.h"

#include "text/Text.h"

namespace orvik {

const wchar_t* const kGeneratorVersion = ORVIK_VERSION;

std::wstring ProducerText() {
    return Format(L"Halvex Marnel File Generator, Version %s", {kGeneratorVersion});
}

std::wstring SpecificationText() {
    return Format(L"Revision %s, Version %s", {kFormatRevision, kFormatVersion});
}

std::wstring TitleText() {
    return Format(L"Orvik Generator %s", {kGeneratorVersion});
}

} // namespace orvik
