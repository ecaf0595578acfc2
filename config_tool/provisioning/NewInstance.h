#pragma once

#include "config_tool/model/CInstanceData.h"
#include "platform/FileSystem.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tarn {

// Fills a record for instance n from the configuration store and the instance's property files
// (the session's loadInstanceData). False when a property file could not be read.
using InstanceLoader = std::function<bool(CInstanceData& record, std::int16_t n)>;

struct NewInstanceResult
{
    bool created = false;
    int number = 0; // the new instance's number, also when it was refused
    std::string section; // "Harbell_" + two digits, for the instance list
    std::string message; // why nothing was added, for the operator; empty when created
};

// Creates the next instance: number instanceCount (the entries of the instance list, base included),
// its folder skeleton B\INSTANCE_nn\{properties, conf, logs} from the base instance's files, the
// receipt printer copy B\bin\ReceiptPrinter_nn.exe and the properties.directory line of its
// terminal.properties; then extends instances to index n with the loaded record and the base
// instance's settings. The instance reaches the configuration store, and the audit log its creation,
// with the next save.
//
// Nothing is added, and the message says why, when the number would pass 99 (the section naming ends
// there), the properties folder is empty, a source file is missing, or a step fails; a failed step
// removes what this attempt created. An INSTANCE_nn folder that is already there is taken to be left
// by an earlier attempt that was never saved, and is reused, only when the instance is not in the
// configuration and the folder holds nothing the engine wrote (its transaction log is still the empty
// template and its logs folder is empty); otherwise it is left untouched and the creation refused.
NewInstanceResult createNewInstance(std::vector<CInstanceData>& instances, int instanceCount,
                                    const std::string& baseFolder, const InstanceLoader& loadInstance);

// Copies every ordinary file of fromFolder into toFolder, replacing files of the same name. Subfolders
// and hidden files are skipped and not descended into. A missing fromFolder copies nothing. Stops at
// the first file that cannot be copied; the error names it. The paths of files that did not exist in
// toFolder before are added to newFiles when given.
orvant::platform::FileResult copyFolder(const std::string& fromFolder, const std::string& toFolder,
                                        std::vector<std::string>* newFiles = nullptr);

// The settings a new instance takes from the base instance's record.
void copyBaseInstanceSettings(const CInstanceData& base, CInstanceData& target);

} // namespace tarn
