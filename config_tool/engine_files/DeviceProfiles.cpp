#include "config_tool/engine_files/DeviceProfiles.h"

#include "config_tool/engine_files/DeviceProfileTable.h"
#include "config_tool/engine_files/EngineFileSupport.h"

namespace tarn {

namespace {

std::string stepValue(const ProfileStep& step, const CInstanceData& record)
{
    switch (step.source) {
    case ProfileValue::Literal:
        return std::string(step.text);
    case ProfileValue::Comport:
        return record.comport;
    case ProfileValue::ComportAndReader:
        return record.comport + "," + record.comportReader;
    case ProfileValue::PinPadPort:
        return record.PinPadPort;
    case ProfileValue::ModelName:
        return record.pinpad;
    case ProfileValue::Removed:
        break;
    }
    return {};
}

// Whether each store took every key (a full store refuses new ones).
struct Applied
{
    bool terminal = true;
    bool language = true;
};

Applied applyProfile(const DeviceProfile& profile, CInstanceData& record)
{
    Applied applied;
    for (const auto& step : profile.steps) {
        const std::string key(step.key);
        if (step.source == ProfileValue::Removed) {
            record.pinpadProperties.removePropertyByKey(key);
        } else {
            applied.terminal = record.pinpadProperties.addKeyValue(key, stepValue(step, record)) && applied.terminal;
        }
    }
    applied.language = record.languageProperties.addKeyValue("en.01", std::string(profile.amountPrompt));
    return applied;
}

} // namespace

void writeDeviceProfile(CInstanceData& record, std::int16_t n, const std::string& propertiesFolder,
                        FailedWrites& failures)
{
    // A name outside the list is no error: the stores are written back as they are.
    Applied applied;
    if (const DeviceProfile* profile = findDeviceProfile(record.pinpad)) {
        applied = applyProfile(*profile, record);
    }
    saveOrRecord(record.pinpadProperties, terminalPropertiesFile(propertiesFolder, n), failures, applied.terminal);
    saveOrRecord(record.languageProperties, languagePropertiesFile(propertiesFolder, n), failures, applied.language);
}

} // namespace tarn
