#include "config_tool/model/FieldRules.h"

#include "config_tool/model/Choices.h"
#include "config_tool/model/WindowSize.h"

#include <algorithm>
#include <array>

namespace tarn::FieldRules {

namespace {

constexpr std::int16_t kSocketInterface = 0;

} // namespace

const std::vector<std::string>& offeredPinPadModels(std::int16_t environment)
{
    return Choices::pinPadModels(environment == Choices::kHospitality);
}

bool isCombinedReader(const std::string& model)
{
    static const std::array<const char*, 3> combined { "Dione secura UPT No MagStripe", "Trintech smart 5000",
                                                       "Dione secura UPT" };
    return std::any_of(combined.begin(), combined.end(), [&](const char* name) { return model == name; });
}

PortControls portControls(const std::string& model)
{
    const bool vx670 = model == Choices::kVx670;
    const bool sagem = model == Choices::kSagem;
    return { vx670, !vx670, sagem };
}

bool vx670PrinterOffered(const std::string& model, std::int16_t environment, bool printReceipt)
{
    return model == Choices::kVx670 && environment == Choices::kPos && printReceipt;
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
    static const std::vector<LeaveRule> rules { { "cboWindowsSize", correctWindowSize } };
    return rules;
}

} // namespace tarn::FieldRules
