#include "text/PathText.h"

#include "text/Text.h"

#include <type_traits>

namespace orvik {

std::filesystem::path ToPath(std::wstring_view text) {
    if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>) {
        return std::filesystem::path(std::wstring(text));
    } else {
        return std::filesystem::path(ToUtf8(text));
    }
}

} // namespace orvik
