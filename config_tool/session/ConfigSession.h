#pragma once

#include "config_tool/foundation/FailedWrites.h"
#include "config_tool/model/CInstanceData.h"
#include "config_tool/model/CommonSettings.h"
#include "config_tool/model/InstanceFolders.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

// One editing session of an installation's configuration: the instance records, their sections, the
// common settings and the outcome of the last save. The window binds its controls to these members;
// tarnctl drives the same object without a window.
//
// Typical start-up (after Globals and the XML document are set up, see ConfigurationMode/XmlConfig):
//     session.loadCommonSettings();           // ClassPath, PropertiesDir, ... into session.common
//     session.desktop.hasPrinters = ...;       // printers and screen metrics from the desktop
//     session.loadAllInstances();              // instances 0..N and their property files
// Saving: see SaveSequences.h (OK and Apply), or saveAllInstances() alone (upgrade launcher).
class ConfigSession
{
public:
    CommonSettings common;
    DesktopFacts desktop;

    // Index i is instance number i; index 0 is the base instance ("Default" in the window) and alone
    // carries the installation-wide environment.
    std::vector<CInstanceData> instances;

    // Section of each record, parallel to instances: "Harbell", "Harbell_01", ... The window lists
    // "Default" for index 0 and these names for the others.
    std::vector<std::string> instanceSections;

    // True after saveAllInstances when no check refused anything.
    bool saveSucceeded = true;

    // Files the last saveAllInstances could not write (device profiles, instance.properties); the
    // save sequences add theirs and report them once.
    FailedWrites failedWrites;

    // The last saveAllInstances could not store something that it has already reported: the mode file,
    // the XML file (reported by XmlConfig once per save) or the reload of the XML file.
    // The save must then not be taken for a success.
    bool storeFailed = false;

    // Reads the installation-wide values of section "Harbell" into common, with their defaults and
    // the start-up rules: a class path not naming "kelbrin-cps.jar" shows "C:\ORVANT\kelbrin-cps.jar",
    // an empty PropertiesDir shows "C:/ORVANT", Booleans become Checked/Unchecked.
    void loadCommonSettings();

    // The stored installation-wide environment (section "Harbell", default "1"; a text that is not a
    // 16-bit number gives 1).
    static std::int16_t readStoredEnvironment();

    // Finds instances 1, 2, ... until the first without a PINByPass value (at most 99), loads records
    // 0..N and sets the environment of record 0. Property files that exist but cannot be read are
    // reported in one message; their records start with empty stores and their device profile is not
    // written back by a save (that would overwrite the unread file).
    void loadAllInstances();

    // Fills record for instance n from the XML document and the instance's property files, in the
    // stored order, with the twips rule, the button-face colour, the printer rule, the
    // smartCardReader.port split and the derived PIN-pad model. Values that cannot be converted fall
    // back to their defaults. Returns false when a property file of the instance could not be read.
    bool loadInstanceData(CInstanceData& record, std::int16_t n);

    // Writes record as instance n after its timeout check (a refusal clears saveSucceeded and writes
    // nothing for this record), then seeds its instance.properties and rewrites its device profile.
    void saveInstanceData(CInstanceData& record, std::int16_t n);

    // The five uniqueness checks in the save's order: receipt folders, receipt ports, interface ports,
    // input and output folders. The first refusal shows its message and ends them.
    bool passesUniquenessChecks() const;
    // Everything a save checks before it writes a record: the uniqueness checks, then every record's
    // card inactivity timeout (each refusal shows its message). A front end without a question to ask
    // (tarnctl) refuses the whole save on it; the window's OK writes what passes.
    bool passesSaveChecks() const;

    // The whole save: mode file, XML reload (in registry mode too, when a document was loaded), the five
    // uniqueness checks (the first refusal stops everything), the common settings, then every record in
    // index order.
    void saveAllInstances();

    // What the Base Directory a save would store (common.propertyDir) lacks of the instances' folders,
    // when it is not the one stored; nothing when the save keeps the stored one. The window asks before
    // such a save, tarnctl refuses it.
    MissingInstanceFolders missingFoldersOfNewBaseDirectory() const;

    std::int16_t lastIndex() const { return static_cast<std::int16_t>(instances.size()) - 1; }

private:
    // Property files that exist but could not be read by the last load of their instance.
    std::vector<std::string> m_unreadFiles;

    bool wasUnread(const std::string& path) const;
};

// Whether the last load found no configuration it could use: the file is there but could not be loaded
// (not well-formed, unreadable), or it is missing in XML mode. What is shown then are defaults, and a
// save would write them over every instance; only a registry-mode installation may have no file at all.
bool configurationUnloaded();

} // namespace tarn
