#pragma once

#include "config_tool/foundation/CProperties.h"
#include "config_tool/foundation/FailedWrites.h"

#include <cstdint>
#include <string>

namespace tarn {

// <instance folder>\properties\terminal.properties and \language.properties, the instance folder
// formed from the text of the properties-folder field.
std::string terminalPropertiesFile(const std::string& propertiesFolder, std::int16_t n);
std::string languagePropertiesFile(const std::string& propertiesFolder, std::int16_t n);

// The engine's own form of the instance's properties folder: "/" separators throughout, e.g.
// "C:/ORVANT/INSTANCE_01/properties" (or "C:/ORVANT/properties" for the base instance).
std::string enginePropertiesDirectory(const std::string& propertiesFolder, std::int16_t n);

// A key is missing when it is absent or holds the empty text; only a missing key takes its default.
bool isMissingValue(const CProperties& store, const std::string& key);

// Saves the store; a file that could not be written is recorded so the save sequence can report it.
// An incomplete store (a key it could not take: a full store) is not written at all: the file keeps
// what it held, and it is recorded as a failed write.
bool saveOrRecord(const CProperties& store, const std::string& fileName, FailedWrites& failures, bool complete = true);

// Loads a fresh store from the file. An existing file that cannot be read is recorded (its content
// could not be completed) and gives false; a missing file gives an empty store and true.
bool loadOrRecord(CProperties& store, const std::string& fileName, FailedWrites& failures);

} // namespace tarn
