// Feeds arbitrary bytes to the loader as if they were an Orvik file chosen by the user: whatever
// the bytes, loading must neither crash nor hang, and a written file must load back to the same
// form: writing it again gives the very same bytes.
#include "logging/Logger.h"
#include "persistence/FileWriter.h"
#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

class CNullSink : public ILogSink {
public:
    void Write(std::string_view /*message*/) override {}
};

CMarnelPropertySheet& Sheet() {
    static CMarnelPropertySheet* sheet = [] {
        SetLogSink(std::make_unique<CNullSink>());
        auto* s = new CMarnelPropertySheet();
        s->Initialize();
        return s;
    }();
    return *sheet;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CMarnelPropertySheet& sheet = Sheet();
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LoadOrvikBytes(sheet, L"fuzz.txt", bytes);
    // The first write may drop what a file holds but the form cannot write: a group that exists
    // only for entries not yet available (a second PDO given a voltage before its supply type) is
    // kept after loading, so that answering its parents brings those entries back, yet its block
    // writes no line that recreates it. From the first write on, nothing may change any more.
    LoadOrvikBytes(sheet, L"fuzz-first.txt", BuildOrvikBytes(sheet));
    const std::string written = BuildOrvikBytes(sheet);
    LoadOrvikBytes(sheet, L"fuzz-again.txt", written);
    const std::string rewritten = BuildOrvikBytes(sheet);
    if (rewritten != written) {
        std::fprintf(stderr, "Writing the loaded file again changed it.\n");
        std::size_t at = 0;
        while (at < written.size() && at < rewritten.size() && written[at] == rewritten[at]) {
            ++at;
        }
        const std::size_t newline = written.rfind('\n', at);
        const std::size_t from = newline == std::string::npos ? 0 : newline + 1;
        std::fprintf(stderr, "written, from byte %zu:\n%.200s\nwritten again:\n%.200s\n", from,
                     written.c_str() + from, rewritten.c_str() + std::min(from, rewritten.size()));
        std::abort();
    }
    return 0;
}
