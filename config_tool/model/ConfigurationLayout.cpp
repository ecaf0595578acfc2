#include "config_tool/model/ConfigurationLayout.h"

#include "config_tool/model/InstanceNaming.h"
#include "config_tool/model/StoredValues.h"
#include "config_tool/model/WindowSize.h"

#include <algorithm>

namespace tarn {

namespace {

using enum SettingKind;

std::string interfacePort(const DefaultContext& context)
{
    return defaultInterfacePort(context.instance);
}

std::string receiptPort(const DefaultContext& context)
{
    return defaultReceiptPort(context.instance);
}

std::string pinPadPort(const DefaultContext& context)
{
    return defaultPinPadPort(context.instance);
}

std::string instanceFolder(const DefaultContext& context)
{
    return context.instanceFolder;
}

std::string defaultPrinter(const DefaultContext& context)
{
    return context.defaultPrinter;
}

std::string environmentCode(std::int16_t environment)
{
    return std::to_string(environment);
}

// Petrol Station, Kiosk and Internet run unattended terminals.
std::string unattended(std::int16_t environment)
{
    return StoredValues::booleanText(environment == 3 || environment == 4 || environment == 5);
}

template <typename Setting> const Setting* findIn(const std::vector<Setting>& settings, std::string_view name)
{
    const auto it = std::find_if(settings.begin(), settings.end(), [name](const Setting& s) { return s.name == name; });
    return it == settings.end() ? nullptr : &*it;
}

} // namespace

const std::vector<CommonSetting>& commonSettings()
{
    using S = CommonSettings;
    static const std::vector<CommonSetting> settings {
        { { .name = "UsePropDir", .kind = Text, .defaultText = "True", .storage = Storage::WrittenOnly }, {} },
        { { .name = "ClassPath",
            .kind = Text,
            .defaultText = "C:\\ORVANT\\kelbrin-cps.jar",
            .load = LoadHook::ClassPathNamesArchive,
            .control = "txtClasspath" },
          &S::classPath },
        { { .name = Layout::kPropertiesDir,
            .kind = Text,
            .defaultText = "C:\\ORVANT",
            .load = LoadHook::EmptyAsForwardSlashes,
            .control = "txtPropertyDir" },
          &S::propertyDir },
        { { .name = "HBLHost", .kind = Text, .defaultText = "127.0.0.1", .control = "txtHBLHost" }, &S::hblHost },
        { { .name = "HBLPort", .kind = Text, .defaultText = "9000", .control = "txtHBLPort" }, &S::hblPort },
        { { .name = "DeleteTransAfterMin", .kind = Text, .defaultText = "50", .control = "txtDeleteTransAfterMin" },
          &S::deleteTransAfterMin },
        { { .name = "TransactionResultMandatory",
            .kind = Boolean,
            .defaultText = "False",
            .control = "cbTransactionResultMandatory" },
          &S::transactionResultMandatory },
        // Kept in the base instance's record.
        { { .name = Layout::kEnvironment, .kind = Environment, .defaultText = "1", .control = "cboEnvironment" }, {} },
        { { .name = Layout::kCheckUpgrade, .kind = UpgradeBox, .defaultText = "True", .control = "cbCheckUpgrade" },
          &S::checkUpgrade },
        { { .name = "AutoUpgrade",
            .kind = UpgradeBox,
            .defaultText = "False",
            .control = "cbAutoUpgrade",
            .offer = Offer::AutoUpgrade },
          &S::autoUpgrade },
        { { .name = "AllowSplit", .kind = Boolean, .defaultText = "True", .control = "cbAllowSplit" }, &S::allowSplit },
        { { .name = "ShowConfirmTxnScreen",
            .kind = Boolean,
            .defaultText = "True",
            .control = "cbShowConfirmationScreen" },
          &S::showConfirmTxnScreen },
    };
    return settings;
}

const std::vector<InstanceSetting>& instanceSettings()
{
    using R = CInstanceData;
    static const std::vector<InstanceSetting> settings {
        { { .name = Layout::kEnvironment,
            .kind = Environment,
            .writtenOf = environmentCode,
            .storage = Storage::WrittenOnly },
          {} },
        { { .name = "UPTTerminal", .kind = Boolean, .writtenOf = unattended, .storage = Storage::WrittenOnly }, {} },
        { { .name = Layout::kTimeout, .kind = Digits, .defaultText = "30", .control = "txtTimeout" }, &R::timeout },
        { { .name = "CheckCardTimeout", .kind = Text, .defaultText = "10", .control = "txtCheckcardTimeout" },
          &R::checkCardTimeout },
        { { .name = Layout::kSendReceipt, .kind = Boolean, .defaultText = "False", .control = "cbSendReceipt" },
          &R::sendReceipt },
        { { .name = "ReceiptPort",
            .kind = Digits,
            .defaultOf = receiptPort,
            .control = "txtReceiptPort",
            .offer = Offer::WhileSendingReceipts },
          &R::receiptPort },
        { { .name = "Debug", .kind = Boolean, .defaultText = "False", .control = "cbDebug" }, &R::debugOn },
        { { .name = "ExtendedDebug", .kind = Boolean, .defaultText = "False", .control = "cbExtendedDebug" },
          &R::extendedDebugOn },
        { { .name = "FullScreen", .kind = Boolean, .defaultText = "False", .control = "cbFullScreen" },
          &R::fullScreen },
        { { .name = "AlwaysOnTop", .kind = Boolean, .defaultText = "False", .control = "cbAlwaysOnTop" },
          &R::alwaysOnTop },
        { { .name = Layout::kPinByPass, .kind = Boolean, .defaultText = "False", .control = "cbEnablePinBypass" },
          &R::pinByPass },
        { { .name = "LogoFile", .kind = Text, .defaultText = "C:\\ORVANT\\kelbrin_logo.jpg", .control = "txtLogoFile" },
          &R::logoFile },
        { { .name = "CombiReader", .kind = Boolean, .defaultText = "False", .control = "cbCombiReader" },
          &R::combiReader },
        { { .name = "ReferralMode",
            .kind = Options,
            .defaultText = "1",
            .control = "optReferralMode",
            .options = Layout::kReferralModeOptions,
            .offer = Offer::ReferralModes },
          &R::referralMode },
        { { .name = "AskGratuity",
            .kind = Boolean,
            .defaultText = "False",
            .control = "cbAskGratuity",
            .offer = Offer::AskGratuity },
          &R::askGratuity },
        { { .name = "USACreditDebit", .kind = Boolean, .defaultText = "False", .control = "cbUsaCreditDebit" },
          &R::usaCreditDebit },
        { { .name = Layout::kInterfaceMethod,
            .kind = Options,
            .defaultText = "0",
            .control = "optInterfaceMethod",
            .options = Layout::kInterfaceMethodOptions,
            .optionNames = { "Socket", "File" } },
          &R::interfaceMethod },
        { { .name = "Port",
            .kind = Digits,
            .defaultOf = interfacePort,
            .control = "txtPort",
            .offer = Offer::WhileSocket },
          &R::port },
        { { .name = "InputDir", .kind = Text, .control = "txtInputDir", .offer = Offer::WhileFile }, &R::inputDir },
        { { .name = "OutputDir", .kind = Text, .control = "txtOutputDir", .offer = Offer::WhileFile }, &R::outputDir },
        { { .name = "ReceiptDir", .kind = Text, .defaultOf = instanceFolder, .control = "txtReceiptDir" },
          &R::receiptDir },
        { { .name = "ReceiptWidth", .kind = Text, .defaultText = "36", .control = "txtReceiptWidth" },
          &R::receiptWidth },
        { { .name = "Top", .kind = Digits, .load = LoadHook::TwipsVertical, .control = "txtTop" }, &R::top },
        { { .name = "Left", .kind = Digits, .load = LoadHook::TwipsHorizontal, .control = "txtLeft" }, &R::left },
        { { .name = "WindowsSize",
            .kind = List,
            .defaultText = "100",
            .control = "cboWindowsSize",
            .leaveRule = correctWindowSize },
          &R::WindowsSize },
        { { .name = "FontName", .kind = List, .control = "cboFont" }, &R::fontName },
        { { .name = "BackGroundColor",
            .kind = Colour,
            .defaultText = "0",
            .load = LoadHook::ButtonFaceWhenZero,
            .control = "txtBackColor" },
          &R::backgroundColor },
        { { .name = "Watermark", .kind = Text, .control = "txtWatermark" }, &R::watermarkImage },
        { { .name = Layout::kUseAvsRules, .kind = Boolean, .defaultText = "False", .control = "cbUseAvsRules" },
          &R::useAvsRules },
        { { .name = "AvsDetailsMandatory", .kind = Boolean, .defaultText = "True", .control = "cbAvsDetailsMandatory" },
          &R::avsDetailsMandatory },
        { { .name = "AvsRuleIndex",
            .kind = Options,
            .defaultText = "0",
            .control = "optAvsRule",
            .options = Layout::kAvsRuleOptions,
            .offer = Offer::WhileAvsRules },
          &R::avsRuleIndex },
        { { .name = "DisableCancel", .kind = Boolean, .defaultText = "False", .control = "cbDisableCancel" },
          &R::disableCancel },
        { { .name = "CardNoHashValue", .kind = Boolean, .defaultText = "True", .control = "cbCardNoHashValue" },
          &R::cardNoHashValue },
        { { .name = "NextReceiptNumber",
            .kind = Text,
            .defaultText = "1",
            .save = SaveHook::ReceiptSeed,
            .engineKept = true },
          &R::nextReceiptNumber },
        { { .name = Layout::kPrintReceiptFlag,
            .kind = Boolean,
            .defaultText = "False",
            .control = "cbEnablePrintReceipt" },
          &R::printReceiptFlag },
        { { .name = "IsVx670Printer",
            .kind = Boolean,
            .defaultText = "False",
            .control = "cbVerifoneVxPri",
            .offer = Offer::Vx670Printer },
          &R::printVeriFoneFlag },
        { { .name = "Printer",
            .kind = List,
            .defaultOf = defaultPrinter,
            .load = LoadHook::OnlyWithPrinters,
            .control = "cmbPrinters",
            .offer = Offer::WhilePrinting },
          &R::printer },
        { { .name = "ExtendedPinMessage",
            .kind = Boolean,
            .defaultText = "False",
            .control = "cbExtendedEnterPinMessage" },
          &R::extendedEnterPin },
        { { .name = "PinPadPort",
            .kind = Digits,
            .defaultOf = pinPadPort,
            .load = LoadHook::DecimalText,
            .control = "txtPinPadPort",
            .offer = Offer::PinPadPort },
          &R::PinPadPort },
        // The device fields: the PIN pad chosen and its ports, kept in terminal.properties.
        { { .name = Layout::kPinPad, .kind = PinPad, .storage = Storage::DeviceProfile, .control = "cmbPinPad" },
          &R::pinpad },
        { { .name = "ComPort",
            .kind = ComPort,
            .storage = Storage::DeviceProfile,
            .control = "cmbComPort",
            .offer = Offer::ComPort },
          &R::comport },
        { { .name = "ReaderComPort",
            .kind = ComPort,
            .storage = Storage::DeviceProfile,
            .control = "cmbReader",
            .offer = Offer::ReaderPort },
          &R::comportReader },
    };
    return settings;
}

const CommonSetting* findCommonSetting(std::string_view name)
{
    return findIn(commonSettings(), name);
}

const InstanceSetting* findInstanceSetting(std::string_view name)
{
    return findIn(instanceSettings(), name);
}

} // namespace tarn
