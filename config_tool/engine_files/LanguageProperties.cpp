#include "config_tool/engine_files/BaseProperties.h"
#include "config_tool/engine_files/EngineFileSupport.h"
#include "config_tool/model/PinPadModels.h"

#include <array>
#include <string_view>
#include <utility>

namespace tarn {

namespace {

struct Message
{
    std::string_view key;
    std::string_view text;
};

// The card-holder display messages after the amount prompt, in the order they are filled in. Texts
// are UTF-8 here; the store writes "£" as the single byte A3.
constexpr std::array<Message, 27> kMessages { {
    { "en.02", "OK?" },
    { "en.03", "APPROVED" },
    { "en.04", "CALL YOUR BANK" },
    { "en.05", "CANCEL OR ENTER" },
    { "en.06", "CARD ERROR" },
    { "en.07", "DECLINED" },
    { "en.08", "ENTER AMOUNT" },
    { "en.09", "ENTER PIN" },
    { "en.0A", "INCORRECT PIN" },
    { "en.0B", "" },
    { "en.0C", "NOT ACCEPTED" },
    { "en.0D", "PIN OK" },
    { "en.0E", "PLEASE WAIT" },
    { "en.0F", "PROCESSING ERROR" },
    { "en.10", "REMOVE CARD" },
    { "en.11", "USE CHIP READER" },
    { "en.12", "USE MAG STRIPE" },
    { "en.13", "TRY AGAIN" },
    { "en.14", "LAST PIN TRY" },
    { "en.15", "CANCELLED" },
    { "en.16", "PIN LOCKED" },
    { "en.17", "CALL CARD ISSUER" },
    { "en.18", "REFUND \u00A3" },
    { "en.51", "SIGN RECEIPT" },
    { "en.IBM.test", "IBM MESSAGE" },
    { "en.emvelink", "Kelbrin - Harb" },
    { "en.testing", "Testing..." },
} };

// The amount prompt a model gets when the file has none. Models without one get none here; their
// device profile writes it.
bool defaultAmountPrompt(const std::string& pinpad, std::string& prompt)
{
    const PinPadModel* model = findPinPadModel(pinpad);
    if (!model || model->defaultAmountPrompt.empty()) {
        return false;
    }
    prompt = model->defaultAmountPrompt;
    return true;
}

} // namespace

void writeLanguageProperties(CInstanceData& record, std::int16_t n, const std::string& propertiesFolder,
                             FailedWrites& failures)
{
    const std::string fileName = languagePropertiesFile(propertiesFolder, n);
    CProperties store;
    if (!loadOrRecord(store, fileName, failures)) {
        return;
    }
    record.languageProperties = std::move(store);
    CProperties& properties = record.languageProperties;

    bool complete = true;
    std::string prompt;
    if (isMissingValue(properties, "en.01") && defaultAmountPrompt(record.pinpad, prompt)) {
        complete = properties.addKeyValue("en.01", prompt);
    }
    for (const auto& message : kMessages) {
        const std::string key(message.key);
        if (isMissingValue(properties, key)) {
            complete = properties.addKeyValue(key, std::string(message.text)) && complete;
        }
    }
    saveOrRecord(properties, fileName, failures, complete);
}

} // namespace tarn
