#include "model/RegexCache.h"

#include <map>
#include <memory>
#include <utility>

namespace orvik {

const std::wregex& CachedRegex(const std::wstring& pattern, bool ignoreCase) {
    static std::map<std::pair<std::wstring, bool>, std::unique_ptr<std::wregex>> cache;
    auto key = std::make_pair(pattern, ignoreCase);
    auto it = cache.find(key);
    if (it == cache.end()) {
        auto flags = std::regex_constants::ECMAScript;
        if (ignoreCase) {
            flags |= std::regex_constants::icase;
        }
        auto compiled = std::make_unique<std::wregex>(pattern, flags);
        it = cache.emplace(std::move(key), std::move(compiled)).first;
    }
    return *it->second;
}

} // namespace orvik
