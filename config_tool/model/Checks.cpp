#include "config_tool/model/Checks.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/StoredValues.h"

#include <functional>

namespace tarn {

namespace {

constexpr std::int16_t kSocketInterface = 0;
constexpr std::int16_t kFileInterface = 1;

// Upper case as Windows compares folder names: ASCII and the letters Windows-1252 can hold. The text
// is UTF-8, so the Latin-1 letters arrive as two-byte sequences.
std::string upperCase(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 'a' && c <= 'z') {
            out += static_cast<char>(c - 'a' + 'A');
            continue;
        }
        if (i + 1 < text.size() && (c == 0xC3 || c == 0xC5)) {
            const auto d = static_cast<unsigned char>(text[i + 1]);
            const unsigned codePoint = ((c & 0x1Fu) << 6) | (d & 0x3Fu);
            unsigned upper = codePoint;
            if (codePoint >= 0xE0 && codePoint <= 0xFE && codePoint != 0xF7) {
                upper = codePoint - 0x20;
            } else if (codePoint == 0x153 || codePoint == 0x161 || codePoint == 0x17E) {
                upper = codePoint - 1; // oe, s and z with caron
            } else if (codePoint == 0xFF) {
                upper = 0x178; // y with diaeresis
            }
            if (upper != codePoint) {
                out += static_cast<char>(0xC0 | (upper >> 6));
                out += static_cast<char>(0x80 | (upper & 0x3F));
                ++i;
                continue;
            }
        }
        out += static_cast<char>(c);
    }
    return out;
}

std::string directoryKey(const std::string& directory)
{
    std::string key = upperCase(directory);
    if (!key.empty() && key.back() == '\\') {
        key.pop_back();
    }
    return key;
}

using PairFilter = std::function<bool(const CInstanceData&)>;
using FieldKey = std::function<std::string(const CInstanceData&)>;

bool checkUnique(const std::vector<CInstanceData>& instances, const PairFilter& considered, const FieldKey& key,
                 const std::string& phrase)
{
    const auto count = instances.size();
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (!considered(instances[i])) {
            continue;
        }
        const std::string first = key(instances[i]);
        for (std::size_t j = i + 1; j < count; ++j) {
            if (considered(instances[j]) && key(instances[j]) == first) {
                Globals::ui().showMessage(phrase + getInstanceName(static_cast<std::int16_t>(i)) + " is also used by "
                                          + getInstanceName(static_cast<std::int16_t>(j))
                                          + ". Please provide another value.");
                return false;
            }
        }
    }
    return true;
}

bool always(const CInstanceData&)
{
    return true;
}

} // namespace

bool checkReceiptDirUnique(const std::vector<CInstanceData>& instances)
{
    return checkUnique(
        instances, always, [](const CInstanceData& r) { return directoryKey(r.receiptDir); }, "Receipt Directory for ");
}

bool checkReceiptPortUnique(const std::vector<CInstanceData>& instances)
{
    return checkUnique(
        instances, [](const CInstanceData& r) { return r.sendReceipt; },
        [](const CInstanceData& r) { return r.receiptPort; }, "Receipt port for ");
}

bool checkInterfacePortUnique(const std::vector<CInstanceData>& instances)
{
    return checkUnique(
        instances, [](const CInstanceData& r) { return r.interfaceMethod == kSocketInterface; },
        [](const CInstanceData& r) { return r.port; }, "Interface port for ");
}

bool checkInputDirUnique(const std::vector<CInstanceData>& instances)
{
    return checkUnique(
        instances, [](const CInstanceData& r) { return r.interfaceMethod == kFileInterface; },
        [](const CInstanceData& r) { return directoryKey(r.inputDir); }, "Input directory for ");
}

bool checkOutputDirUnique(const std::vector<CInstanceData>& instances)
{
    return checkUnique(
        instances, [](const CInstanceData& r) { return r.interfaceMethod == kFileInterface; },
        [](const CInstanceData& r) { return directoryKey(r.outputDir); }, "Output directory for ");
}

bool checkCardTimetiout(const std::string& text)
{
    const auto value = StoredValues::parseNumber(text);
    if (value && *value >= 10.0 && *value <= 90.0) {
        return true;
    }
    Globals::ui().showMessage(
        "Enter Correct Card Inactivity Timeout between 10 to 90,Then Press Ok (Do not press Apply Button)");
    return false;
}

std::string getInstanceName(std::int16_t index)
{
    if (index == 0) {
        return "default instance";
    }
    return "instance " + std::to_string(index);
}

} // namespace tarn
