#pragma once

#include "config_tool/foundation/CProperty.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tarn {

// The ordered key/value store of a .properties file: one key=value pair per line, "#" comment lines,
// nothing else understood. Strings are UTF-8 in memory and Windows-1252 on disk; a file that is
// loaded and saved keeps the bytes of every line taken.
//
// Removing an entry leaves a tombstone (key and value "") in its position; tombstones are never
// compacted and are skipped by save. The store hands out and keeps references: add() stores the
// caller's own object, getProperty() returns the stored one.
class CProperties
{
public:
    static constexpr std::int16_t kMaxEntries = 32767;

    CProperties();

    std::string NO_VALUE; // "ZZZ_NO_VALUE_ZZZ" after construction; returned for a missing key

    // False (and nothing added) when the store is full.
    bool addKeyValue(const std::string& key, const std::string& value);
    bool setDeleteUserPassword(const std::string& key);
    bool getUserExistCheck(const std::string& key) const;
    bool add(const std::shared_ptr<CProperty>& prop);
    std::string getValue(const std::string& key) const;
    std::shared_ptr<CProperty> getProperty(const std::string& key) const;
    void removePropertyByKey(const std::string& key);
    void removeProperty(const CProperty& prop);

    // Replaces the content with the file's. A missing file gives an empty store and ok; an existing
    // file that cannot be read gives an empty store and the system's reason.
    orvant::platform::FileResult load(const std::string& fileName);

    // Writes key=value CR LF lines, tombstones skipped, replacing the file atomically.
    orvant::platform::FileResult save(const std::string& fileName) const;

    // What load and save do between the file and the store: the file's Windows-1252 bytes in, the
    // bytes save writes out. loadFromBytes fails only when the file holds more keys than the store can.
    orvant::platform::FileResult loadFromBytes(std::string_view ansiBytes);
    std::string saveToBytes() const;

    // The lines of a text file as the system reads them: CR LF or a lone CR ends a line, a lone LF
    // does not, and one LF at the end of a line read is dropped.
    static std::vector<std::string_view> splitLines(std::string_view bytes);

    std::int16_t count() const { return static_cast<std::int16_t>(m_entries.size()); }
    const std::vector<std::shared_ptr<CProperty>>& entries() const { return m_entries; }

private:
    std::vector<std::shared_ptr<CProperty>> m_entries;
};

} // namespace tarn
