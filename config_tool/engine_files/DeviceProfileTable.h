#pragma once

#include "config_tool/model/PinPadModels.h"

#include <string_view>
#include <vector>

namespace tarn {

// Where a profile step takes the value it writes from.
enum class ProfileValue
{
    Removed, // the key is removed from the file
    Literal, // the text given with the step
    Comport, // the record's comport
    ComportAndReader, // comport + "," + comportReader (a PIN pad and a separate reader)
    PinPadPort, // the record's PinPadPort (the IP server's port)
    ModelName, // the record's pinpad itself
};

struct ProfileStep
{
    std::string_view key;
    ProfileValue source;
    std::string_view text = {};
};

// One device profile: the profile the models name (PinPadModels.h), the steps applied to
// terminal.properties in their order (the order decides where new keys are appended), and the amount
// prompt en.01 of language.properties.
struct DeviceProfile
{
    DeviceProfileId id;
    std::vector<ProfileStep> steps;
    std::string_view amountPrompt;
};

// The nine profiles in the order they are selected.
const std::vector<DeviceProfile>& deviceProfiles();

// The profile of the model of exactly this name, or nullptr.
const DeviceProfile* findDeviceProfile(std::string_view modelName);

} // namespace tarn
