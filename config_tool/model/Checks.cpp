#include "config_tool/model/Checks.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/StoredValues.h"
#include "platform/TextCodec.h"

#include <functional>

namespace tarn {

namespace {

constexpr std::int16_t kSocketInterface = 0;
constexpr std::int16_t kFileInterface = 1;

std::string directoryKey(const std::string& directory)
{
    // Folder names compare as Windows compares them: in upper case.
    std::string key = orvant::platform::upperCaseAnsi(directory);
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
    if (value && *value >= kCardTimeoutLeast && *value <= kCardTimeoutMost) {
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
