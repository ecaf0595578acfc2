// The hexadecimal helpers take text from files and the operator: they must never crash, and
// hextobin must give one byte per pair of digits.
#include "config_tool/foundation/SHA1.h"
#include "platform/TextCodec.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    std::size_t digits = 0;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) {
            ++digits;
        }
    }

    const std::string bytes = orvant::platform::utf8ToAnsi(tarn::SHA1::hextobin(text));
    if (bytes.size() != (digits + 1) / 2) {
        std::abort();
    }

    const std::int32_t value = tarn::SHA1::hextodec(text);
    if (digits == 0 && value != 0) {
        std::abort();
    }
    // The last eight digits spell the value: writing it back gives them again.
    if (digits >= 8) {
        const std::string back = tarn::SHA1::dectohex(value, 8);
        if (tarn::SHA1::hextodec(back) != value) {
            std::abort();
        }
    }

    const std::string digest = tarn::SHA1::sha1hex(text);
    if (digest.size() != 44 || digest != tarn::SHA1::digestOfBytes(bytes)) {
        std::abort();
    }
    if (tarn::SHA1::sha1(text).size() != 44) {
        std::abort();
    }
    return 0;
}
