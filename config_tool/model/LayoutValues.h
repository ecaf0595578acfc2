#pragma once

#include "config_tool/model/ConfigurationLayout.h"

#include <cstdint>
#include <string>

namespace tarn {

// The values of the configuration layout's settings between their stored texts and where the records
// keep them: Booleans "True"/"False", numbers as decimal text, an upgrade box as its state's number.

// The text a setting is stored as. environment: the base instance's, which the common Environment and
// the written-only instance values come from.
std::string storedText(const InstanceSetting& setting, const CInstanceData& record, std::int16_t environment);
std::string storedText(const CommonSetting& setting, const CommonSettings& common, std::int16_t environment);

// Takes a stored text into the record as the load does, with the setting's load rule applied (the twips
// rule on the desktop's metrics, the button-face colour, a port as plain decimal text, ...). A text that
// cannot be converted gives the default's value. The common Environment, kept in the base instance's
// record, is not taken here.
void loadStored(const InstanceSetting& setting, CInstanceData& record, const std::string& stored,
                const std::string& defaultText, const DesktopFacts& desktop);
void loadStored(const CommonSetting& setting, CommonSettings& common, const std::string& stored,
                const std::string& defaultText);

// Takes a checked text (as a script gives it, already in the stored form) into the record or the common
// settings, as a control would: no load rule applies.
void assignStored(const InstanceSetting& setting, CInstanceData& record, const std::string& text);
void assignStored(const CommonSetting& setting, CommonSettings& common, const std::string& text);

// The default of an instance setting when it is missing.
std::string defaultText(const SettingDeclaration& setting, const DefaultContext& context);

} // namespace tarn
