#include "config_tool/tarnctl/SettingTable.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/Choices.h"
#include "config_tool/model/StoredValues.h"

#include <algorithm>

namespace tarn::ctl {

namespace {

using Offered = std::function<std::string(const InstanceEditor&)>;

std::int16_t toInt16(const std::string& text)
{
    return StoredValues::toInt16(text, "0");
}

Setting field(std::string_view name, ValueKind kind, std::string CInstanceData::*member, Offered offered = {})
{
    return { name,
             kind,
             SettingPhase::Fields,
             [member](const InstanceEditor& e) { return e.shown().*member; },
             [member](InstanceEditor& e, const std::string& value) { e.shown().*member = value; },
             std::move(offered) };
}

Setting flag(std::string_view name, bool CInstanceData::*member, Offered offered = {})
{
    return { name,
             ValueKind::Boolean,
             SettingPhase::Fields,
             [member](const InstanceEditor& e) { return StoredValues::booleanText(e.shown().*member); },
             [member](InstanceEditor& e, const std::string& value) { e.shown().*member = value == "True"; },
             std::move(offered) };
}

Setting number(std::string_view name, ValueKind kind, std::int16_t CInstanceData::*member, Offered offered = {})
{
    return { name,
             kind,
             SettingPhase::Fields,
             [member](const InstanceEditor& e) { return std::to_string(e.shown().*member); },
             [member](InstanceEditor& e, const std::string& value) { e.shown().*member = toInt16(value); },
             std::move(offered) };
}

Setting common(std::string_view name, std::string CommonSettings::*member)
{
    return { name,
             ValueKind::Text,
             SettingPhase::Fields,
             [member](const InstanceEditor& e) { return e.session().common.*member; },
             [member](InstanceEditor& e, const std::string& value) { e.session().common.*member = value; },
             {} };
}

// Stored "True" for a ticked or grayed box.
Setting commonBox(std::string_view name, CheckState CommonSettings::*member)
{
    return { name,
             ValueKind::CheckBox,
             SettingPhase::Fields,
             [member](const InstanceEditor& e) {
                 return StoredValues::booleanText(isTicked(e.session().common.*member));
             },
             [member](InstanceEditor& e, const std::string& value) {
                 e.session().common.*member = value == "True" ? CheckState::Checked : CheckState::Unchecked;
             },
             {} };
}

std::string checkStateText(CheckState state)
{
    return std::to_string(static_cast<int>(state));
}

CheckState checkStateOf(const std::string& value)
{
    if (value == "1") {
        return CheckState::Checked;
    }
    return value == "2" ? CheckState::Grayed : CheckState::Unchecked;
}

std::string unless(bool offered, const char* reason)
{
    return offered ? std::string() : std::string(reason);
}

std::vector<Setting> buildSettings()
{
    std::vector<Setting> settings;

    settings.push_back({ "Configuration",
                         ValueKind::Configuration,
                         SettingPhase::Installation,
                         [](const InstanceEditor&) {
                             return std::string(Globals::state().configurationMode == kXmlMode ? "xml" : "registry");
                         },
                         [](InstanceEditor&, const std::string& value) {
                             Globals::state().configurationMode = value == "xml" ? kXmlMode : kRegistryMode;
                         },
                         {} });

    settings.push_back(common("ClassPath", &CommonSettings::classPath));
    settings.push_back(common("PropertiesDir", &CommonSettings::propertyDir));
    settings.push_back(common("HBLHost", &CommonSettings::hblHost));
    settings.push_back(common("HBLPort", &CommonSettings::hblPort));
    settings.push_back(common("DeleteTransAfterMin", &CommonSettings::deleteTransAfterMin));
    settings.push_back(commonBox("TransactionResultMandatory", &CommonSettings::transactionResultMandatory));
    settings.push_back({ "Environment",
                         ValueKind::Environment,
                         SettingPhase::Installation,
                         [](const InstanceEditor& e) { return std::to_string(e.environment()); },
                         [](InstanceEditor& e, const std::string& value) {
                             // Choosing the environment the list already shows raises nothing.
                             if (toInt16(value) != e.environment()) {
                                 e.chooseEnvironment(toInt16(value));
                             }
                         },
                         {} });
    settings.push_back({ "CheckUpgrade",
                         ValueKind::UpgradeCheckBox,
                         SettingPhase::Drivers,
                         [](const InstanceEditor& e) { return checkStateText(e.session().common.checkUpgrade); },
                         [](InstanceEditor& e, const std::string& value) {
                             if (checkStateOf(value) != e.session().common.checkUpgrade) {
                                 e.chooseCheckUpgrade(checkStateOf(value));
                             }
                         },
                         {} });
    settings.push_back(
        { "AutoUpgrade", ValueKind::UpgradeCheckBox, SettingPhase::Fields,
          [](const InstanceEditor& e) { return checkStateText(e.session().common.autoUpgrade); },
          [](InstanceEditor& e, const std::string& value) { e.session().common.autoUpgrade = checkStateOf(value); },
          [](const InstanceEditor& e) {
              return unless(e.upgradeControls().autoUpgradeEnabled,
                            "the window disables Auto Upgrade while CheckUpgrade is off and in a Kiosk "
                            "installation");
          } });
    settings.push_back(commonBox("AllowSplit", &CommonSettings::allowSplit));
    settings.push_back(commonBox("ShowConfirmTxnScreen", &CommonSettings::showConfirmTxnScreen));

    const Offered whileSocket = [](const InstanceEditor& e) {
        return unless(e.recordControls().socketPort, "the window disables it while InterfaceMethod is 1 (File)");
    };
    const Offered whileFile = [](const InstanceEditor& e) {
        return unless(e.recordControls().fileDirs, "the window disables it while InterfaceMethod is 0 (Socket)");
    };

    settings.push_back(field("Timeout", ValueKind::Digits, &CInstanceData::timeout));
    settings.push_back(field("CheckCardTimeout", ValueKind::Text, &CInstanceData::checkCardTimeout));
    settings.push_back(flag("SendReceipt", &CInstanceData::sendReceipt));
    settings.push_back(
        field("ReceiptPort", ValueKind::Digits, &CInstanceData::receiptPort, [](const InstanceEditor& e) {
            return unless(e.recordControls().receiptPort, "the window disables it while SendReceipt is False");
        }));
    settings.push_back(flag("Debug", &CInstanceData::debugOn));
    settings.push_back(flag("ExtendedDebug", &CInstanceData::extendedDebugOn));
    settings.push_back(flag("FullScreen", &CInstanceData::fullScreen));
    settings.push_back(flag("AlwaysOnTop", &CInstanceData::alwaysOnTop));
    settings.push_back(flag("PINByPass", &CInstanceData::pinByPass));
    settings.push_back(field("LogoFile", ValueKind::Text, &CInstanceData::logoFile));
    settings.push_back(flag("CombiReader", &CInstanceData::combiReader));
    settings.push_back(
        number("ReferralMode", ValueKind::ReferralMode, &CInstanceData::referralMode, [](const InstanceEditor& e) {
            return unless(e.upgradeControls().referralModeEnabled,
                          "the window disables the referral modes in a Kiosk installation");
        }));
    settings.push_back(flag("AskGratuity", &CInstanceData::askGratuity, [](const InstanceEditor& e) {
        return unless(e.upgradeControls().askGratuityEnabled,
                      "the window disables it once the environment is changed to Kiosk");
    }));
    settings.push_back(flag("USACreditDebit", &CInstanceData::usaCreditDebit));
    settings.push_back(number("InterfaceMethod", ValueKind::InterfaceMethod, &CInstanceData::interfaceMethod));
    settings.push_back(field("Port", ValueKind::Digits, &CInstanceData::port, whileSocket));
    settings.push_back(field("InputDir", ValueKind::Text, &CInstanceData::inputDir, whileFile));
    settings.push_back(field("OutputDir", ValueKind::Text, &CInstanceData::outputDir, whileFile));
    settings.push_back(field("ReceiptDir", ValueKind::Text, &CInstanceData::receiptDir));
    settings.push_back(field("ReceiptWidth", ValueKind::Text, &CInstanceData::receiptWidth));
    settings.push_back(field("Top", ValueKind::Digits, &CInstanceData::top));
    settings.push_back(field("Left", ValueKind::Digits, &CInstanceData::left));
    settings.push_back(number("WindowsSize", ValueKind::WindowSize, &CInstanceData::WindowsSize));
    settings.push_back(field("FontName", ValueKind::Text, &CInstanceData::fontName));
    settings.push_back({ "BackGroundColor",
                         ValueKind::Colour,
                         SettingPhase::Fields,
                         [](const InstanceEditor& e) { return std::to_string(e.shown().backgroundColor); },
                         [](InstanceEditor& e, const std::string& value) {
                             e.shown().backgroundColor = StoredValues::toInt32(value, "0");
                         },
                         {} });
    settings.push_back(field("Watermark", ValueKind::Text, &CInstanceData::watermarkImage));
    settings.push_back(flag("UseAvsRules", &CInstanceData::useAvsRules));
    settings.push_back(flag("AvsDetailsMandatory", &CInstanceData::avsDetailsMandatory));
    settings.push_back(
        number("AvsRuleIndex", ValueKind::AvsRule, &CInstanceData::avsRuleIndex, [](const InstanceEditor& e) {
            return unless(e.recordControls().avsRules, "the window keeps the AVS rule only while UseAvsRules is True");
        }));
    settings.push_back(flag("DisableCancel", &CInstanceData::disableCancel));
    settings.push_back(flag("CardNoHashValue", &CInstanceData::cardNoHashValue));
    settings.push_back(field("NextReceiptNumber", ValueKind::ReadOnly, &CInstanceData::nextReceiptNumber));
    settings.push_back(flag("PrintReceiptFlag", &CInstanceData::printReceiptFlag));
    settings.push_back(flag("IsVx670Printer", &CInstanceData::printVeriFoneFlag, [](const InstanceEditor& e) {
        return unless(e.recordControls().vx670Printer,
                      "the window offers it only for PinPad Verifone Vx670 in a POS installation with "
                      "PrintReceiptFlag True");
    }));
    settings.push_back(field("Printer", ValueKind::Text, &CInstanceData::printer, [](const InstanceEditor& e) {
        return unless(e.recordControls().printers,
                      "the window disables the printer list while PrintReceiptFlag is False");
    }));
    settings.push_back(flag("ExtendedPinMessage", &CInstanceData::extendedEnterPin));
    settings.push_back(field("PinPadPort", ValueKind::Digits, &CInstanceData::PinPadPort, [](const InstanceEditor& e) {
        return unless(e.recordControls().ports.pinPadPort, "the window shows it only for PinPad Verifone Vx670");
    }));

    settings.push_back({ "PinPad", ValueKind::PinPad, SettingPhase::Drivers,
                         [](const InstanceEditor& e) { return e.shown().pinpad; },
                         [](InstanceEditor& e, const std::string& value) { e.choosePinPad(value); },
                         [](const InstanceEditor& e) {
                             const auto& models = FieldRules::offeredPinPadModels(e.environment());
                             if (std::find(models.begin(), models.end(), e.shown().pinpad) != models.end()) {
                                 return std::string();
                             }
                             std::string list;
                             for (const auto& model : models) {
                                 list += (list.empty() ? "" : ", ") + model;
                             }
                             return "a " + Choices::environmentText(e.environment()).value_or("")
                                 + " installation offers only " + list;
                         } });
    settings.push_back(field("ComPort", ValueKind::ComPort, &CInstanceData::comport, [](const InstanceEditor& e) {
        return unless(e.recordControls().ports.comPort, "the window hides the COM port for PinPad Verifone Vx670");
    }));
    settings.push_back(
        field("ReaderComPort", ValueKind::ComPort, &CInstanceData::comportReader, [](const InstanceEditor& e) {
            return unless(e.recordControls().ports.readerPort,
                          "the window shows the reader port only for PinPad Sagem");
        }));
    return settings;
}

} // namespace

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
