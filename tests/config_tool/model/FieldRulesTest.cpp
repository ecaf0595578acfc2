#include "config_tool/model/FieldRules.h"

#include "config_tool/engine_files/DeviceProfiles.h"
#include "config_tool/model/Choices.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace tarn::FieldRules {
namespace {

constexpr std::int16_t kPos = 1, kHospitality = 2, kKiosk = 4;
constexpr auto Unchecked = CheckState::Unchecked, Checked = CheckState::Checked, Grayed = CheckState::Grayed;

// "auto gratuity referral" as 0 and 1, to compare a whole set of controls at once.
std::string enabled(const UpgradeControls& c)
{
    return std::to_string(c.autoUpgradeEnabled) + std::to_string(c.askGratuityEnabled)
        + std::to_string(c.referralModeEnabled);
}

TEST(FieldRules, PinPadModelsDecideTheCombinedReaderAndThePortControls)
{
    auto every = offeredPinPadModels(kPos);
    auto withProfiles = pinPadModelNames();
    std::sort(every.begin(), every.end());
    std::sort(withProfiles.begin(), withProfiles.end());
    EXPECT_EQ(every, withProfiles) << "every model has a device profile";
    EXPECT_EQ(offeredPinPadModels(kHospitality),
              (std::vector<std::string> { "No Card Reader", "Dione secura", "Dione xplorer", "Dione xtreme",
                                          "Verifone Vx670" }));
    for (const auto& model : every) {
        SCOPED_TRACE(model);
        const bool combined
            = model == "Dione secura UPT No MagStripe" || model == "Trintech smart 5000" || model == "Dione secura UPT";
        EXPECT_EQ(isCombinedReader(model), combined);
        const auto ports = portControls(model);
        EXPECT_EQ(std::to_string(ports.pinPadPort) + std::to_string(ports.comPort) + std::to_string(ports.readerPort),
                  model == "Verifone Vx670" ? "100"
                      : model == "Sagem"    ? "011"
                                            : "010");
    }
}

TEST(FieldRules, TheVx670PrinterIsOfferedAtAPosThatPrints)
{
    for (std::int16_t environment = 1; environment <= 6; ++environment) {
        for (const bool print : { false, true }) {
            EXPECT_EQ(vx670PrinterOffered("Verifone Vx670", environment, print), environment == kPos && print)
                << environment << print;
            EXPECT_FALSE(vx670PrinterOffered("Verifone Vx810", environment, print));
        }
    }
}

TEST(FieldRules, RecordControlsFollowTheShownValues)
{
    CInstanceData record;
    record.pinpad = "Sagem";
    auto c = recordControls(record, kPos);
    EXPECT_EQ(std::to_string(c.socketPort) + std::to_string(c.fileDirs) + std::to_string(c.receiptPort)
                  + std::to_string(c.avsRules) + std::to_string(c.printers) + std::to_string(c.vx670Printer)
                  + std::to_string(c.ports.readerPort),
              "1000001");
    record = CInstanceData {};
    record.interfaceMethod = 1;
    record.sendReceipt = record.useAvsRules = record.printReceiptFlag = true;
    record.pinpad = "Verifone Vx670";
    c = recordControls(record, kPos);
    EXPECT_EQ(std::to_string(c.socketPort) + std::to_string(c.fileDirs) + std::to_string(c.receiptPort)
                  + std::to_string(c.avsRules) + std::to_string(c.printers) + std::to_string(c.vx670Printer)
                  + std::to_string(c.ports.pinPadPort),
              "0111111");
    EXPECT_FALSE(recordControls(record, kHospitality).vx670Printer);
}

TEST(FieldRules, AfterTheLoadAutoUpgradeFollowsCheckUpgradesOutsideAKiosk)
{
    const std::tuple<std::int16_t, CheckState, const char*> cases[] = {
        { kPos, Unchecked, "011" }, { kPos, Checked, "111" },     { kPos, Grayed, "111" },
        { kKiosk, Checked, "010" }, { kKiosk, Unchecked, "010" },
    };
    for (const auto& [environment, checkUpgrade, expected] : cases) {
        EXPECT_EQ(enabled(upgradeControlsAfterLoad(environment, checkUpgrade)), expected) << environment;
    }
    UpgradeControls controls;
    instanceShown(controls, kKiosk);
    EXPECT_FALSE(controls.referralModeEnabled);
    instanceShown(controls, kHospitality);
    EXPECT_TRUE(controls.referralModeEnabled);
}

TEST(FieldRules, AKioskClearsAskGratuityAndOnlyTickedCheckUpgradesUnlocksAgain)
{
    struct Case
    {
        std::int16_t environment;
        CheckState checkUpgrade;
        const char* expected; // enabled controls, then Ask Gratuity
    };
    const Case cases[] = {
        { kKiosk, Checked, "0000" },
        { kPos, Checked, "1111" },
        { kPos, Grayed, "0001" },
        { kPos, Unchecked, "0001" },
    };
    for (const auto& c : cases) {
        UpgradeControls controls { false, false, false };
        bool askGratuity = true;
        environmentChosen(controls, c.environment, c.checkUpgrade, askGratuity);
        EXPECT_EQ(enabled(controls) + std::to_string(askGratuity), c.expected) << c.environment;
    }
    UpgradeControls unlocked;
    bool askGratuity = false;
    environmentChosen(unlocked, kPos, Unchecked, askGratuity);
    EXPECT_EQ(enabled(unlocked), "011") << "left as they were";
}

TEST(FieldRules, CheckUpgradesDecidesAutoUpgradeAndAKioskKeepsItLocked)
{
    const std::tuple<std::int16_t, CheckState, CheckState, bool, CheckState> cases[] = {
        // environment, Check Upgrades, Auto Upgrade before -> Auto Upgrade enabled, after
        { kPos, Checked, Unchecked, true, Unchecked },
        { kPos, Unchecked, Checked, false, Unchecked },
        { kKiosk, Checked, Unchecked, false, Checked },
        { kKiosk, Unchecked, Checked, false, Unchecked },
    };
    for (const auto& [environment, checkUpgrade, before, isEnabled, after] : cases) {
        UpgradeControls controls;
        CheckState autoUpgrade = before;
        checkUpgradeChosen(controls, environment, checkUpgrade, autoUpgrade);
        EXPECT_EQ(controls.autoUpgradeEnabled, isEnabled) << environment << int(checkUpgrade);
        EXPECT_EQ(autoUpgrade, after) << environment << int(checkUpgrade);
    }
}

} // namespace
} // namespace tarn::FieldRules
