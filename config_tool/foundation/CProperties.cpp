#include "config_tool/foundation/CProperties.h"

#include "platform/TextCodec.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

namespace tarn {

namespace {

constexpr char kNoValue[] = "ZZZ_NO_VALUE_ZZZ";

bool isTombstone(const CProperty& prop)
{
    return prop.key.empty() && prop.value.empty();
}

} // namespace

CProperties::CProperties()
    : NO_VALUE(kNoValue)
{
}

bool CProperties::addKeyValue(const std::string& key, const std::string& value)
{
    if (const auto existing = getProperty(key)) {
        existing->value = value;
        return true;
    }
    if (m_entries.size() >= static_cast<std::size_t>(kMaxEntries)) {
        return false;
    }
    m_entries.push_back(std::make_shared<CProperty>(CProperty { key, value }));
    return true;
}

bool CProperties::setDeleteUserPassword(const std::string& key)
{
    const auto existing = getProperty(key);
    if (!existing) {
        return false;
    }
    existing->key.clear();
    existing->value.clear();
    return true;
}

bool CProperties::getUserExistCheck(const std::string& key) const
{
    return getProperty(key) != nullptr;
}

bool CProperties::add(const std::shared_ptr<CProperty>& prop)
{
    if (!prop) {
        return false;
    }
    if (const auto existing = getProperty(prop->key)) {
        existing->value = prop->value;
        return true;
    }
    if (m_entries.size() >= static_cast<std::size_t>(kMaxEntries)) {
        return false;
    }
    m_entries.push_back(prop);
    return true;
}

std::string CProperties::getValue(const std::string& key) const
{
    const auto existing = getProperty(key);
    return existing ? existing->value : NO_VALUE;
}

std::shared_ptr<CProperty> CProperties::getProperty(const std::string& key) const
{
    const auto found
        = std::find_if(m_entries.begin(), m_entries.end(), [&key](const auto& entry) { return entry->key == key; });
    return found == m_entries.end() ? nullptr : *found;
}

void CProperties::removePropertyByKey(const std::string& key)
{
    if (const auto existing = getProperty(key)) {
        removeProperty(*existing);
    }
}

void CProperties::removeProperty(const CProperty& prop)
{
    // prop may be the stored entry itself, so it is looked up before anything is cleared.
    if (const auto existing = getProperty(prop.key)) {
        existing->key.clear();
        existing->value.clear();
    }
}

std::vector<std::string_view> CProperties::splitLines(std::string_view bytes)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\r', start);
        std::size_t next;
        if (end == std::string_view::npos) {
            end = bytes.size();
            next = end;
        } else {
            next = end + 1;
            if (next < bytes.size() && bytes[next] == '\n') {
                ++next;
            }
        }
        std::string_view line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\n') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        start = next;
    }
    return lines;
}

orvant::platform::FileResult CProperties::loadFromBytes(std::string_view ansiBytes)
{
    m_entries.clear();
    // Every entry is new and no reference has left the store yet, so a key index gives the same
    // result as add's linear lookup without its quadratic cost on large files.
    std::unordered_map<std::string, CProperty*> byKey;
    for (const std::string_view line : splitLines(ansiBytes)) {
        if (!line.empty() && line.front() == '#') {
            continue;
        }
        const std::size_t separator = line.find('=');
        if (separator == std::string_view::npos || line.find('=', separator + 1) != std::string_view::npos) {
            continue;
        }
        std::string key = orvant::platform::ansiToUtf8(line.substr(0, separator));
        std::string value = orvant::platform::ansiToUtf8(line.substr(separator + 1));
        if (const auto found = byKey.find(key); found != byKey.end()) {
            found->second->value = std::move(value);
            continue;
        }
        if (m_entries.size() >= static_cast<std::size_t>(kMaxEntries)) {
            // Keep what fits rather than fail the whole file; the caller learns the rest is missing.
            return { false,
                     "The file holds more than " + std::to_string(kMaxEntries)
                         + " keys; the keys after them were not read." };
        }
        auto prop = std::make_shared<CProperty>(CProperty { key, std::move(value) });
        byKey.emplace(std::move(key), prop.get());
        m_entries.push_back(std::move(prop));
    }
    return { true, {} };
}

std::string CProperties::saveToBytes() const
{
    std::string bytes;
    for (const auto& entry : m_entries) {
        if (isTombstone(*entry)) {
            continue;
        }
        bytes += orvant::platform::utf8ToAnsi(entry->key);
        bytes += '=';
        bytes += orvant::platform::utf8ToAnsi(entry->value);
        bytes += "\r\n";
    }
    return bytes;
}

orvant::platform::FileResult CProperties::load(const std::string& fileName)
{
    m_entries.clear();
    if (!orvant::platform::fileExists(fileName)) {
        return { true, {} };
    }
    std::string bytes;
    auto result = orvant::platform::readWholeFile(fileName, bytes);
    if (!result.ok) {
        return result;
    }
    result = loadFromBytes(bytes);
    if (!result.ok) {
        result.error = fileName + ": " + result.error;
    }
    return result;
}

orvant::platform::FileResult CProperties::save(const std::string& fileName) const
{
    const std::string bytes = saveToBytes();
    // A save rewrites every engine file of every instance; a file that already holds exactly these
    // bytes is left as it is, which spares a flush to disk per file and per OK.
    std::string current;
    if (orvant::platform::fileExists(fileName) && orvant::platform::readWholeFile(fileName, current).ok
        && current == bytes) {
        return { true, {} };
    }
    return orvant::platform::writeFileAtomically(fileName, bytes);
}

} // namespace tarn
