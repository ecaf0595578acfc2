#include "config_tool/tarnctl/SettingTable.h"

#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/foundation/Globals.h"
#include "config_tool/model/Choices.h"
#include "config_tool/model/LayoutValues.h"
#include "config_tool/model/PinPadModels.h"

#include <algorithm>

namespace tarn::ctl {

namespace {

std::string modelsWhere(bool (*holds)(const PinPadModel&))
{
    std::string names;
    for (const auto& model : pinPadModels()) {
        if (holds(model)) {
            names += (names.empty() ? "" : ", ") + std::string(model.name);
        }
    }
    return names;
}

std::string name(std::string_view setting)
{
    return std::string(setting);
}

std::string kiosk()
{
    return Choices::environmentText(Choices::kKiosk).value_or("");
}

// Whether the window offers the control now, and why not, in the operator's words.
bool offered(Offer offer, const InstanceEditor& editor)
{
    const FieldRules::RecordControls record = editor.recordControls();
    const FieldRules::UpgradeControls& upgrade = editor.upgradeControls();
    switch (offer) {
    case Offer::Always:
        return true;
    case Offer::WhileSocket:
        return record.socketPort;
    case Offer::WhileFile:
        return record.fileDirs;
    case Offer::WhileSendingReceipts:
        return record.receiptPort;
    case Offer::WhileAvsRules:
        return record.avsRules;
    case Offer::WhilePrinting:
        return record.printers;
    case Offer::Vx670Printer:
        return record.vx670Printer;
    case Offer::PinPadPort:
        return record.ports.pinPadPort;
    case Offer::ComPort:
        return record.ports.comPort;
    case Offer::ReaderPort:
        return record.ports.readerPort;
    case Offer::ReferralModes:
        return upgrade.referralModeEnabled;
    case Offer::AskGratuity:
        return upgrade.askGratuityEnabled;
    case Offer::AutoUpgrade:
        return upgrade.autoUpgradeEnabled;
    }
    return true;
}

std::string reasonNotOffered(Offer offer)
{
    const auto network = [](const PinPadModel& model) { return model.connection == PinPadConnection::Network; };
    const auto reader = [](const PinPadModel& model) { return model.connection == PinPadConnection::ComPortAndReader; };
    switch (offer) {
    case Offer::Always:
        break;
    case Offer::WhileSocket:
        return "the window disables it while " + name(Layout::kInterfaceMethod) + " is 1 (File)";
    case Offer::WhileFile:
        return "the window disables it while " + name(Layout::kInterfaceMethod) + " is 0 (Socket)";
    case Offer::WhileSendingReceipts:
        return "the window disables it while " + name(Layout::kSendReceipt) + " is False";
    case Offer::WhileAvsRules:
        return "the window keeps the AVS rule only while " + name(Layout::kUseAvsRules) + " is True";
    case Offer::WhilePrinting:
        return "the window disables the printer list while " + name(Layout::kPrintReceiptFlag) + " is False";
    case Offer::Vx670Printer:
        return "the window offers it only for " + name(Layout::kPinPad) + " " + std::string(PinPads::kVerifoneVx670)
            + " in a " + Choices::environmentText(Choices::kPos).value_or("") + " installation with "
            + name(Layout::kPrintReceiptFlag) + " True";
    case Offer::PinPadPort:
        return "the window shows it only for " + name(Layout::kPinPad) + " " + modelsWhere(network);
    case Offer::ComPort:
        return "the window hides the COM port for " + name(Layout::kPinPad) + " " + modelsWhere(network);
    case Offer::ReaderPort:
        return "the window shows the reader port only for " + name(Layout::kPinPad) + " " + modelsWhere(reader);
    case Offer::ReferralModes:
        return "the window disables the referral modes in a " + kiosk() + " installation";
    case Offer::AskGratuity:
        return "the window disables it once the environment is changed to " + kiosk();
    case Offer::AutoUpgrade:
        return "the window disables Auto Upgrade while Check Upgrades is off and in a " + kiosk() + " installation";
    }
    return {};
}

Setting configurationMode()
{
    return { kConfigurationModeKey,
             nullptr,
             SettingPhase::Installation,
             [](const InstanceEditor&) {
                 return std::string(Globals::state().configurationMode == kXmlMode ? kXmlModeText : kRegistryModeText);
             },
             [](InstanceEditor&, const std::string& value) {
                 Globals::state().configurationMode = value == kXmlModeText ? kXmlMode : kRegistryMode;
             },
             SettingScope::Installation };
}

Setting common(const CommonSetting& setting)
{
    Setting shown {
        setting.name,
        &setting,
        SettingPhase::Fields,
        [&setting](const InstanceEditor& e) { return storedText(setting, e.session().common, e.environment()); },
        [&setting](InstanceEditor& e, const std::string& value) { assignStored(setting, e.session().common, value); },
        SettingScope::Installation
    };
    if (setting.kind == SettingKind::Environment) {
        shown.phase = SettingPhase::Installation;
        shown.assign = [](InstanceEditor& e, const std::string& value) {
            // Choosing the environment the list already shows raises nothing.
            if (const auto code = static_cast<std::int16_t>(std::stoi(value)); code != e.environment()) {
                e.chooseEnvironment(code);
            }
        };
    } else if (setting.name == Layout::kCheckUpgrade) {
        shown.phase = SettingPhase::Drivers;
        shown.assign = [&setting](InstanceEditor& e, const std::string& value) {
            CommonSettings chosen = e.session().common;
            assignStored(setting, chosen, value);
            if (chosen.checkUpgrade != e.session().common.checkUpgrade) {
                e.chooseCheckUpgrade(chosen.checkUpgrade);
            }
        };
    }
    return shown;
}

Setting instance(const InstanceSetting& setting)
{
    Setting shown { setting.name, &setting, SettingPhase::Fields,
                    [&setting](const InstanceEditor& e) { return storedText(setting, e.shown(), e.environment()); },
                    [&setting](InstanceEditor& e, const std::string& value) {
                        assignStored(setting, e.shown(), value);
                    } };
    if (setting.kind == SettingKind::PinPad) {
        shown.phase = SettingPhase::Drivers;
        shown.assign = [](InstanceEditor& e, const std::string& value) { e.choosePinPad(value); };
    }
    return shown;
}

std::vector<Setting> buildSettings()
{
    std::vector<Setting> settings { configurationMode() };
    for (const CommonSetting& setting : commonSettings()) {
        if (setting.storage != Storage::WrittenOnly) {
            settings.push_back(common(setting));
        }
    }
    for (const InstanceSetting& setting : instanceSettings()) {
        if (setting.storage != Storage::WrittenOnly) {
            settings.push_back(instance(setting));
        }
    }
    return settings;
}

} // namespace

CheckedValue Setting::check(const std::string& value, const std::string& current) const
{
    return declaration ? checkValue(*declaration, value, current) : checkConfigurationMode(value, current);
}

std::string Setting::whyNotOffered(const InstanceEditor& editor) const
{
    if (!declaration) {
        return {};
    }
    if (declaration->kind == SettingKind::PinPad) {
        const auto& models = FieldRules::offeredPinPadModels(editor.environment());
        if (std::find(models.begin(), models.end(), editor.shown().pinpad) != models.end()) {
            return {};
        }
        std::string list;
        for (const auto& model : models) {
            list += (list.empty() ? "" : ", ") + model;
        }
        return "a " + Choices::environmentText(editor.environment()).value_or("") + " installation offers only " + list;
    }
    return offered(declaration->offer, editor) ? std::string() : reasonNotOffered(declaration->offer);
}

const std::vector<Setting>& allSettings()
{
    static const std::vector<Setting> settings = buildSettings();
    return settings;
}

const Setting* findSetting(std::string_view name)
{
    const auto& settings = allSettings();
    const auto it = std::find_if(settings.begin(), settings.end(),
                                 [name](const Setting& setting) { return setting.name == name; });
    return it == settings.end() ? nullptr : &*it;
}

} // namespace tarn::ctl
