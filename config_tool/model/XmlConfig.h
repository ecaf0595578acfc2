#pragma once

#include <string>

namespace pugi {
class xml_node;
}

namespace tarn::XmlConfig {

// The XML configuration document, kept in memory for the life of the program. Every read of a
// configuration value comes from it. A changed value rewrites the whole file at the XML configuration
// path (Globals): at once, or within a save (beginSave/endSave) once, when the save ends.

// Parses the file into a new document. On failure shows "Unable to load configuration from file "
// + path and leaves the document unloaded: reads give their defaults, writes are skipped.
bool loadXmlConfig(const std::string& path);

bool isLoaded();

// The value named key of instance n, or defaultValue.
std::string xmlGetValue(const std::string& key, int n, const std::string& defaultValue);

// Sets the value (creating elements as needed) and writes the document to the XML configuration
// path, or marks it for the end of the save. False when the document is not loaded or the file could
// not be written; a write failure is reported through the UI services once per save.
bool xmlSetValue(const std::string& key, int n, const std::string& value);

// A save writes many values: between beginSave and endSave (which nest) they change the document in
// memory, and the outermost endSave writes it once if anything changed. A file that cannot be written
// is reported once per save.
void beginSave();
// Ends the save; true when no write failed since beginSave.
bool endSave();

// How many times the document was written to disk since the program started (measurements, tests).
long writeCount();

// Back to not loaded (tests).
void reset();

// Helpers over the document.
std::string getChildText(const std::string& name, const pugi::xml_node& parent, const std::string& defaultValue);
pugi::xml_node findChildElement(const std::string& name, const pugi::xml_node& parent);
pugi::xml_node findInstanceElement(int n);
pugi::xml_node ensureElementPath(const std::string& path);

} // namespace tarn::XmlConfig
