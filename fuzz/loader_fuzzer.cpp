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
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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

// Written files already shown to load back to themselves. A load depends on nothing but the bytes
// (the sheet is emptied first; bytes without one entry leave the form the last input loaded, whose
// file is proven already), so a file proven once is proven for good: most mutated inputs
// come down to a form written before, and proving it again would only repeat the same work.
// Kept as hashes in a table sized once, so that a long run holds no copies of files and an input
// allocates nothing that outlives it; a collision only skips one check, and a full table starts
// over.
class CProvenFiles {
public:
    CProvenFiles() : slots_(kSlots, 0) {}
    bool Contains(std::string_view bytes) const {
        const std::uint64_t key = Key(bytes);
        for (std::size_t i = key & kMask;; i = (i + 1) & kMask) {
            if (slots_[i] == key) {
                return true;
            }
            if (slots_[i] == 0) {
                return false;
            }
        }
    }
    void Add(std::string_view bytes) {
        if (used_ >= kSlots / 2) {
            std::fill(slots_.begin(), slots_.end(), 0);
            used_ = 0;
        }
        const std::uint64_t key = Key(bytes);
        std::size_t i = key & kMask;
        while (slots_[i] != 0 && slots_[i] != key) {
            i = (i + 1) & kMask;
        }
        if (slots_[i] == 0) {
            slots_[i] = key;
            ++used_;
        }
    }

private:
    static constexpr std::size_t kSlots = std::size_t{1} << 20;
    static constexpr std::size_t kMask = kSlots - 1;
    // Never 0: 0 marks a free slot.
    static std::uint64_t Key(std::string_view bytes) { return std::hash<std::string_view>{}(bytes) | 1; }
    std::vector<std::uint64_t> slots_;
    std::size_t used_ = 0;
};

[[noreturn]] void ReportChangedRewrite(const std::string& written, const std::string& rewritten) {
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CMarnelPropertySheet& sheet = Sheet();
    static CProvenFiles proven;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    LoadOrvikBytes(sheet, L"fuzz.txt", bytes);
    const std::string first = BuildOrvikBytes(sheet);
    if (proven.Contains(first)) {
        return 0;
    }
    // The first write may drop what a file holds but the form cannot write: a group that exists
    // only for entries not yet available (a second PDO given a voltage before its supply type) is
    // kept after loading, so that answering its parents brings those entries back, yet its block
    // writes no line that recreates it. From the first write on, nothing may change any more.
    LoadOrvikBytes(sheet, L"fuzz-first.txt", first);
    const std::string written = BuildOrvikBytes(sheet);
    if (written != first) {
        LoadOrvikBytes(sheet, L"fuzz-again.txt", written);
        const std::string rewritten = BuildOrvikBytes(sheet);
        if (rewritten != written) {
            ReportChangedRewrite(written, rewritten);
        }
        proven.Add(written);
    }
    // Reading `first` wrote `written`, which reads back to itself: `first` is proven too.
    proven.Add(first);
    return 0;
}
