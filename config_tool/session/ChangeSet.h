#pragma once

#include "config_tool/foundation/ChangeJournal.h"
#include "platform/FileSystem.h"

#include <optional>
#include <string>
#include <vector>

namespace tarn {

// One change of a save as it is shown and logged: a setting of an instance in one file or registry key.
struct ShownChange
{
    // The stored path of the file or folder, or the registry key ("HKEY_CURRENT_USER\SOFTWARE\Kelbrin\Harbell_01").
    std::string location;
    // The instance the location belongs to: INSTANCE_nn folders, "Harbell_nn" keys and the XML elements of
    // instance nn give nn; everything else belongs to the base instance 0, which also holds the
    // installation-wide settings.
    int instance = 0;
    // The key, element or value name; empty for a whole file or folder.
    std::string setting;
    // UTF-8 text; nullopt where there is none. A whole file shows as "<N bytes>", a folder as "<folder>".
    std::optional<std::string> before;
    std::optional<std::string> after;
};

// Everything one save changes: its files (for the backup) and, below them, its settings.
struct ChangeSet
{
    std::vector<orvant::platform::FileChange> files;
    std::vector<RegistryValueChange> registry;
    std::vector<ShownChange> shown;

    bool empty() const { return files.empty() && registry.empty(); }
};

// Puts the journal and the batch's file changes together. The XML configuration is shown element by
// element from the journal, property files key by key, the registry value by value; any other file or
// folder as a whole.
ChangeSet collectChanges(const std::vector<orvant::platform::FileChange>& files, const ChangeJournal& journal);

// A value as scripts read it: "(none)", or the text in double quotes with \, " and control characters
// escaped (\\, \", \t, \r, \n, \xNN), so that it never spans a line or a tab.
std::string quoteValue(const std::optional<std::string>& value);

// Text from outside (a path, a name, an ID) as one field of a line: each control character (a tab, a
// line end) becomes \xNN, so that it can neither end the line nor start another field.
std::string escapeControlCharacters(std::string_view text);

// The dry run's line for one change: LOCATION<TAB>INSTANCE<TAB>SETTING<TAB>OLD -> NEW.
std::string dryRunLine(const ShownChange& change);

} // namespace tarn
