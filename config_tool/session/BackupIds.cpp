#include "config_tool/session/BackupIds.h"

#include "platform/AsciiText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

namespace tarn {

namespace {

constexpr std::size_t kSecondLength = 16; // "20261207T041233Z"
constexpr int kLastSuffix = 999; // "-999": a suffix of three digits keeps the IDs of one second in order

bool hasShape(std::string_view text, std::string_view shape)
{
    return text.size() == shape.size() && std::equal(shape.begin(), shape.end(), text.begin(), [](char s, char c) {
               return s == 'd' ? orvant::ascii::isDigit(c) : s == c;
           });
}

// "2026-12-07T04:12:33Z" -> "20261207T041233Z"
std::string idOfTime(const std::string& time)
{
    std::string id;
    for (const char c : time) {
        if (c != '-' && c != ':') {
            id += c;
        }
    }
    return id;
}

std::optional<std::chrono::sys_seconds> timeOfId(std::string_view second)
{
    using namespace std::chrono;
    const auto number
        = [&](std::size_t at, std::size_t length) { return std::stoi(std::string(second.substr(at, length))); };
    const year_month_day date { year(number(0, 4)), month(static_cast<unsigned>(number(4, 2))),
                                day(static_cast<unsigned>(number(6, 2))) };
    if (!date.ok() || number(9, 2) > 23 || number(11, 2) > 59 || number(13, 2) > 59) {
        return std::nullopt;
    }
    return sys_days(date) + hours(number(9, 2)) + minutes(number(11, 2)) + seconds(number(13, 2));
}

std::string idOfSecond(std::chrono::sys_seconds time)
{
    using namespace std::chrono;
    const auto day = floor<days>(time);
    const year_month_day date(day);
    const hh_mm_ss clock(time - day);
    char text[32];
    std::snprintf(text, sizeof text, "%04d%02u%02uT%02d%02d%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    return text;
}

} // namespace

bool isBackupId(std::string_view name)
{
    return (hasShape(name, "ddddddddTddddddZ") || hasShape(name, "ddddddddTddddddZ-ddd"))
        && timeOfId(name.substr(0, kSecondLength)).has_value();
}

std::string nextBackupId(const std::vector<std::string>& taken, const std::string& time)
{
    const std::string own = idOfTime(time);
    std::string newest;
    for (const auto& id : taken) {
        if (isBackupId(id) && id > newest) {
            newest = id;
        }
    }
    if (newest.empty() || own.substr(0, kSecondLength) > newest.substr(0, kSecondLength)) {
        return own;
    }
    const std::string second = newest.substr(0, kSecondLength);
    const int suffix = newest.size() > kSecondLength ? std::stoi(newest.substr(kSecondLength + 1)) : 1;
    if (suffix < kLastSuffix) {
        char text[16];
        std::snprintf(text, sizeof text, "-%03d", suffix + 1);
        return second + text;
    }
    // The second is full: the next one starts.
    const auto at = timeOfId(second);
    return at ? idOfSecond(*at + std::chrono::seconds(1)) : second + "-" + std::to_string(kLastSuffix);
}

} // namespace tarn
