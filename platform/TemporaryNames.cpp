#include "platform/TemporaryNames.h"

#include <chrono>
#include <cstdint>
#include <random>

namespace orvant::platform {

namespace {

std::string randomSuffix()
{
    static constexpr char alphabet[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937_64 generator([] {
        std::random_device device;
        return (static_cast<std::uint64_t>(device()) << 32) ^ device()
            ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    }());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(alphabet) - 2);
    std::string suffix(8, ' ');
    for (char& c : suffix) {
        c = alphabet[pick(generator)];
    }
    return suffix;
}

} // namespace

std::string temporaryNameBeside(const std::string& folder, char separator, const std::string& baseName)
{
    return folder + separator + "." + baseName.substr(0, 200) + ".tmp-" + randomSuffix();
}

} // namespace orvant::platform
