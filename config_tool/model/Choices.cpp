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

} // namespace tarn::Choices
