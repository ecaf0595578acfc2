#include "config_tool/model/FieldRules.h"

#include "config_tool/model/Choices.h"
#include "config_tool/model/ConfigurationLayout.h"
#include "config_tool/model/PinPadModels.h"

#include <algorithm>
#include <array>

namespace tarn::FieldRules {

namespace {

constexpr std::int16_t kSocketInterface = 0;

} // namespace

const std::vector<std::string>& offeredPinPadModels(std::int16_t environment)
{
    static const auto offered = [](bool hospitality) {
        std::vector<std::string> names;
        for (const auto& model : pinPadModels()) {
            if (!hospitality || model.offeredInHospitality) {
                names.emplace_back(model.name);
            }
        }
        return names;
    };
    static const std::vector<std::string> all = offered(false);
    static const std::vector<std::string> hospitality = offered(true);
    return environment == Choices::kHospitality ? hospitality : all;
}

bool isCombinedReader(const std::string& model)
{
    const PinPadModel* found = findPinPadModel(model);
    return found && found->combinedReader;
}

PortControls portControls(const std::string& model)
{
    const PinPadModel* found = findPinPadModel(model);
    const PinPadConnection connection = found ? found->connection : PinPadConnection::ComPort;
    return { connection == PinPadConnection::Network, connection != PinPadConnection::Network,
             connection == PinPadConnection::ComPortAndReader };
}

bool vx670PrinterOffered(const std::string& model, std::int16_t environment, bool printReceipt)
{
    return model == PinPads::kVerifoneVx670 && environment == Choices::kPos && printReceipt;
}

RecordControls recordControls(const CInstanceData& record, std::int16_t environment)
{
    RecordControls controls;
    controls.socketPort = record.interfaceMethod == kSocketInterface;
    controls.fileDirs = !controls.socketPort;
    controls.receiptPort = record.sendReceipt;
    controls.avsRules = record.useAvsRules;
    controls.printers = record.printReceiptFlag;
    controls.vx670Printer = vx670PrinterOffered(record.pinpad, environment, record.printReceiptFlag);
    controls.ports = portControls(record.pinpad);
    return controls;
}

UpgradeControls upgradeControlsAfterLoad(std::int16_t environment, CheckState checkUpgrade)
{
    const bool kiosk = environment == Choices::kKiosk;
    UpgradeControls controls;
    controls.autoUpgradeEnabled = isTicked(checkUpgrade) && !kiosk;
    controls.referralModeEnabled = !kiosk;
    return controls;
}

void instanceShown(UpgradeControls& controls, std::int16_t environment)
{
    controls.referralModeEnabled = environment != Choices::kKiosk;
}

void environmentChosen(UpgradeControls& controls, std::int16_t environment, CheckState checkUpgrade, bool& askGratuity)
{
    if (environment == Choices::kKiosk) {
        controls.autoUpgradeEnabled = false;
        controls.askGratuityEnabled = false;
        askGratuity = false;
        controls.referralModeEnabled = false;
    } else if (checkUpgrade == CheckState::Checked) {
        controls.askGratuityEnabled = true;
        controls.autoUpgradeEnabled = true;
        controls.referralModeEnabled = true;
    }
}

void checkUpgradeChosen(UpgradeControls& controls, std::int16_t environment, CheckState checkUpgrade,
                        CheckState& autoUpgrade)
{
    const bool kiosk = environment == Choices::kKiosk;
    if (checkUpgrade == CheckState::Checked) {
        controls.autoUpgradeEnabled = true;
        if (kiosk) {
            autoUpgrade = CheckState::Checked;
        }
    } else {
        autoUpgrade = CheckState::Unchecked;
        controls.autoUpgradeEnabled = false;
    }
    if (kiosk) {
        controls.autoUpgradeEnabled = false;
    }
}

const std::vector<LeaveRule>& leaveRules()
{
    static const std::vector<LeaveRule> rules = [] {
        std::vector<LeaveRule> withRules;
        for (const auto& setting : instanceSettings()) {
            if (setting.leaveRule) {
                withRules.push_back({ setting.control, setting.leaveRule });
            }
        }
        return withRules;
    }();
    return rules;
}

void collectAsTheControlsShowIt(CInstanceData& record)
{
    if (record.referralMode < 0 || record.referralMode >= Layout::kReferralModeOptions) {
        record.referralMode = 0;
    }
    if (record.interfaceMethod != kSocketInterface) {
        record.interfaceMethod = 1;
    }
    if (record.useAvsRules && (record.avsRuleIndex < 0 || record.avsRuleIndex >= Layout::kAvsRuleOptions)) {
        record.avsRuleIndex = 0;
    }
}

} // namespace tarn::FieldRules
