#include "env_tool/VarsetRegistry.h"

#include "env_tool/ProgramName.h"
#include "env_tool/RegistryError.h"
#include "platform/Environment.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"

#include <type_traits>

namespace varset {

namespace platform = orvant::platform;

namespace {

// Access asked for when writing (KEY_QUERY_VALUE up to KEY_CREATE_LINK, as the Windows program asks).
constexpr std::uint32_t kWriteAccess = 0x3F;

// Closes the key on every way out of a read or write.
class OpenKey
{
public:
    OpenKey() = default;
    ~OpenKey()
    {
        if (m_key) {
            platform::regCloseKey(m_key);
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    platform::HKey* out() { return &m_key; }
    platform::HKey get() const { return m_key; }

    long close()
    {
        const long result = m_key ? platform::regCloseKey(m_key) : platform::kErrorSuccess;
        m_key = nullptr;
        return result;
    }

private:
    platform::HKey m_key = nullptr;
};

// The stored characters without the terminator the writer added. A value stored without one (another
// program may do that) keeps its last character.
std::string textOf(const std::vector<std::uint8_t>& data)
{
    std::size_t length = data.size();
    if (length > 0 && data[length - 1] == 0) {
        --length;
    }
    return platform::ansiToUtf8(std::string_view(reinterpret_cast<const char*>(data.data()), length));
}

std::uint32_t littleEndianNumber(const std::vector<std::uint8_t>& data)
{
    return std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 | std::uint32_t(data[2]) << 16
        | std::uint32_t(data[3]) << 24;
}

std::uint32_t bigEndianNumber(const std::vector<std::uint8_t>& data)
{
    return std::uint32_t(data[3]) | std::uint32_t(data[2]) << 8 | std::uint32_t(data[1]) << 16
        | std::uint32_t(data[0]) << 24;
}

// A "%" followed, at least two characters further on, by another "%".
bool holdsVariableReference(std::string_view ansi)
{
    const auto first = ansi.find('%');
    return first != std::string_view::npos && ansi.find('%', first + 2) != std::string_view::npos;
}

} // namespace

std::string valueToText(const RegistryValue& value)
{
    return std::visit(
        [](const auto& held) -> std::string {
            using Held = std::decay_t<decltype(held)>;
            if constexpr (std::is_same_v<Held, std::monostate>) {
                return {};
            } else if constexpr (std::is_same_v<Held, std::string>) {
                return held;
            } else if constexpr (std::is_same_v<Held, std::uint32_t>) {
                return std::to_string(held);
            } else {
                return platform::ansiToUtf8(std::string_view(reinterpret_cast<const char*>(held.data()), held.size()));
            }
        },
        value);
}

RegistryValue Registry::value()
{
    return read(true);
}

RegistryValue Registry::storedValue()
{
    return read(false);
}

RegistryValue Registry::read(bool expand)
{
    OpenKey key;
    if (platform::regOpenKeyEx(static_cast<platform::Hive>(m_classKey), m_sectionKey, platform::kKeyQueryValue,
                               key.out())
        != platform::kErrorSuccess) {
        return m_default;
    }
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    const long probe = platform::regQueryValueEx(key.get(), m_valueKey, &type, nullptr, &size);
    if (probe != platform::kErrorSuccess && probe != platform::kErrorMoreData) {
        return m_default;
    }
    m_valueType = type;

    std::vector<std::uint8_t> data(size);
    // A value that changed size since the probe cannot be read consistently; the default is safer.
    if (platform::regQueryValueEx(key.get(), m_valueKey, &type, data.data(), &size) != platform::kErrorSuccess
        || size > data.size()) {
        return m_default;
    }
    data.resize(size);

    switch (type) {
    case platform::kRegSz:
    case platform::kRegMultiSz:
        return textOf(data);
    case platform::kRegExpandSz:
        return expand ? platform::expandEnvironmentStrings(textOf(data)) : textOf(data);
    case platform::kRegDword:
        // Fewer than four bytes hold no number; reading past them is what a careless reader would do.
        return data.size() >= 4 ? RegistryValue(littleEndianNumber(data)) : m_default;
    case platform::kRegDwordBigEndian:
        return data.size() >= 4 ? RegistryValue(bigEndianNumber(data)) : m_default;
    default:
        return data;
    }
}

void Registry::setValue(const RegistryValue& value)
{
    const std::string text = valueToText(value);
    OpenKey key;
    if (platform::regCreateKeyEx(static_cast<platform::Hive>(m_classKey), m_sectionKey, kWriteAccess, key.out())
        != platform::kErrorSuccess) {
        throw RegistryError(kErrorKeyNotOpened, programName() + ".cRegistry", failureDescription(text));
    }
    const std::string ansi = platform::utf8ToAnsi(text);
    const std::uint32_t type = holdsVariableReference(ansi) ? platform::kRegExpandSz : platform::kRegSz;
    std::vector<std::uint8_t> data(ansi.begin(), ansi.end());
    data.push_back(0);
    const long stored = platform::regSetValueEx(key.get(), m_valueKey, type, data);
    key.close();
    if (stored != platform::kErrorSuccess) {
        throw RegistryError(kErrorValueNotStored, programName() + ".cRegistry", failureDescription(text));
    }
}

std::string Registry::failureDescription(const std::string& text) const
{
    return "Failed to set registry value Key: '" + std::to_string(static_cast<std::int32_t>(m_classKey))
        + "',Section: '" + m_sectionKey + "',Key: '" + m_valueKey + "' to value: '" + text + "'";
}

} // namespace varset
