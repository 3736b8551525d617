// Feeds arbitrary bytes to the loader as if they were an Orvik file chosen by the user: whatever
// the bytes, loading must neither crash nor hang, and what it loads must write out again.
#include "logging/Logger.h"
#include "persistence/FileWriter.h"
#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"

#include <cstddef>
#include <cstdint>
#include <memory>
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
    const std::string written = BuildOrvikBytes(sheet);
    // What was written loads again.
    LoadOrvikBytes(sheet, L"fuzz-again.txt", written);
    return 0;
}
