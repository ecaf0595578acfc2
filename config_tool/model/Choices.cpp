#include "config_tool/model/Choices.h"

#include <algorithm>
#include <array>

namespace tarn::Choices {

namespace {

struct Environment
{
    std::int16_t code;
    const char* text;
};

constexpr std::array<Environment, 6> kEnvironments { {
    { 1, "POS" },
    { 2, "Hospitality" },
    { 3, "Petrol Station" },
    { 4, "Kiosk" },
    { 5, "Internet" },
    { 6, "Standalone" },
} };

} // namespace

const std::vector<std::string>& environmentEntries()
{
    static const std::vector<std::string> entries { "POS",      "Kiosk",     "Hospitality", "Petrol Station",
                                                    "Internet", "Standalone" };
    return entries;
}

std::optional<std::string> environmentText(std::int16_t code)
{
    for (const auto& environment : kEnvironments) {
        if (environment.code == code) {
            return std::string(environment.text);
        }
    }
    return std::nullopt;
}

std::optional<std::int16_t> environmentCode(const std::string& text)
{
    for (const auto& environment : kEnvironments) {
        if (text == environment.text) {
            return environment.code;
        }
    }
    return std::nullopt;
}

const std::vector<std::string>& windowSizeEntries()
{
    static const std::vector<std::string> entries { "80", "85", "90", "95", "100" };
    return entries;
}

const std::vector<std::string>& pinPadModels(bool hospitality)
{
    // The list's order is the window's own; the device profiles are looked up by name.
    static const std::vector<std::string> allModels {
        kNoCardReader,  "Verifone sc5000",  "Dione secura",   "Dione xplorer",
        "Dione xtreme", "Dione secura UPT", kSagem,           "Trintech smart 5000",
        kVx670,         "Ingenico 3300",    "Verifone Vx810", "Dione secura UPT No MagStripe"
    };
    static const std::vector<std::string> hospitalityModels { kNoCardReader, "Dione secura", "Dione xplorer",
                                                              "Dione xtreme", kVx670 };
    return hospitality ? hospitalityModels : allModels;
}

} // namespace tarn::Choices
