#include "config_tool/model/FieldRules.h"

#include "config_tool/model/WindowSize.h"

#include <gtest/gtest.h>
#include <limits>

namespace tarn::FieldRules {
namespace {

constexpr std::int16_t kPos = 1, kHospitality = 2, kKiosk = 4;
constexpr auto Unchecked = CheckState::Unchecked, Checked = CheckState::Checked, Grayed = CheckState::Grayed;

// Flags as "0" and "1", to compare a set of controls at once.
std::string bits(std::initializer_list<bool> flags)
{
    std::string text;
    for (const bool flag : flags) {
        text += flag ? '1' : '0';
    }
    return text;
}

std::string enabled(const UpgradeControls& c)
{
    return bits({ c.autoUpgradeEnabled, c.askGratuityEnabled, c.referralModeEnabled });
}

TEST(FieldRules, PinPadModelsDecideTheCombinedReaderAndThePortControls)
{
    const std::pair<std::string, const char*> models[] = {
        // as listed -> combined reader, PIN-pad port, COM port, reader port
        { "No Card Reader", "0010" }, { "Verifone sc5000", "0010" },     { "Dione secura", "0010" },
        { "Dione xplorer", "0010" },  { "Dione xtreme", "0010" },        { "Dione secura UPT", "1010" },
        { "Sagem", "0011" },          { "Trintech smart 5000", "1010" }, { "Verifone Vx670", "0100" },
        { "Ingenico 3300", "0010" },  { "Verifone Vx810", "0010" },      { "Dione secura UPT No MagStripe", "1010" },
    };
    std::vector<std::string> listed;
    for (const auto& [model, expected] : models) {
        listed.push_back(model);
        const auto ports = portControls(model);
        EXPECT_EQ(bits({ isCombinedReader(model), ports.pinPadPort, ports.comPort, ports.readerPort }), expected)
            << model;
    }
    EXPECT_EQ(offeredPinPadModels(kPos), listed);
    EXPECT_EQ(offeredPinPadModels(kHospitality),
              (std::vector<std::string> { "No Card Reader", "Dione secura", "Dione xplorer", "Dione xtreme",
                                          "Verifone Vx670" }));
}

TEST(FieldRules, RecordControlsFollowTheShownValuesAndTheVx670PrinterNeedsAPosThatPrints)
{
    for (std::int16_t environment = 1; environment <= 6; ++environment) {
        for (const bool print : { false, true }) {
            EXPECT_EQ(vx670PrinterOffered("Verifone Vx670", environment, print), environment == kPos && print)
                << environment;
            EXPECT_FALSE(vx670PrinterOffered("Verifone Vx810", environment, print));
        }
    }
    CInstanceData record;
    record.interfaceMethod = 1;
    record.sendReceipt = record.useAvsRules = record.printReceiptFlag = true;
    record.pinpad = "Verifone Vx670";
    const auto c = recordControls(record, kPos);
    EXPECT_EQ(
        bits({ c.socketPort, c.fileDirs, c.receiptPort, c.avsRules, c.printers, c.vx670Printer, c.ports.comPort }),
        "0111110");
}

TEST(FieldRules, AKioskLocksAutoUpgradeAskGratuityAndTheReferralModes)
{
    // After the load: Auto Upgrade follows Check Upgrades outside a kiosk.
    const std::tuple<std::int16_t, CheckState, const char*> loads[]
        = { { kPos, Unchecked, "011" }, { kPos, Grayed, "111" }, { kKiosk, Checked, "010" } };
    for (const auto& [environment, checkUpgrade, expected] : loads) {
        EXPECT_EQ(enabled(upgradeControlsAfterLoad(environment, checkUpgrade)), expected) << environment;
    }
    UpgradeControls shown;
    instanceShown(shown, kKiosk);
    EXPECT_EQ(enabled(shown), "010");
    // Choosing an environment: a kiosk clears Ask Gratuity; elsewhere only a ticked Check Upgrades unlocks.
    const std::tuple<std::int16_t, CheckState, const char*> choices[] = {
        { kKiosk, Checked, "0000" }, { kPos, Checked, "1111" }, { kPos, Grayed, "0001" }, { kPos, Unchecked, "0001" }
    };
    for (const auto& [environment, checkUpgrade, expected] : choices) {
        UpgradeControls controls { false, false, false };
        bool askGratuity = true;
        environmentChosen(controls, environment, checkUpgrade, askGratuity);
        EXPECT_EQ(enabled(controls) + bits({ askGratuity }), expected) << environment;
    }
}

TEST(FieldRules, CheckUpgradesDecidesAutoUpgradeWhichAKioskKeepsLocked)
{
    // environment, Check Upgrades, Auto Upgrade before -> Auto Upgrade enabled, after
    const std::tuple<std::int16_t, CheckState, CheckState, bool, CheckState> cases[]
        = { { kPos, Checked, Unchecked, true, Unchecked },
            { kPos, Unchecked, Checked, false, Unchecked },
            { kKiosk, Checked, Unchecked, false, Checked },
            { kKiosk, Unchecked, Checked, false, Unchecked } };
    for (const auto& [environment, checkUpgrade, before, isEnabled, after] : cases) {
        UpgradeControls controls;
        CheckState autoUpgrade = before;
        checkUpgradeChosen(controls, environment, checkUpgrade, autoUpgrade);
        EXPECT_EQ(controls.autoUpgradeEnabled, isEnabled) << environment << int(checkUpgrade);
        EXPECT_EQ(autoUpgrade, after) << environment << int(checkUpgrade);
    }
}

TEST(WindowSize, TheLeadingNumberDecidesAndSizesUpToSeventyNineOrAboveAHundredBecomeAHundred)
{
    const std::pair<std::string, std::optional<double>> numbers[]
        = { { "80%", 80.0 }, { " 7 9.5x", 79.5 }, { "-5", -5.0 },
            { "+81", 81.0 }, { "1.2.3", 1.2 },    { ".5", 0.5 },
            { "abc", {} },   { "", {} },          { "-", {} },
            { ".", {} },     { "0.000", 0.0 },    { std::string(400, '9'), std::numeric_limits<double>::max() } };
    for (const auto& [text, number] : numbers) {
        EXPECT_EQ(readLeadingNumber(text), number) << text;
    }
    EXPECT_EQ(leadingNumber("none"), 0.0);
    const std::pair<const char*, const char*> cases[]
        = { { "79", "100" },     { "79.5", "79.5" }, { "80", "80" },       { "85%", "85%" }, { "100", "100" },
            { "100.01", "100" }, { "101", "100" },   { "letters", "100" }, { "", "100" },    { "-90", "100" } };
    for (const auto& [typed, corrected] : cases) {
        EXPECT_EQ(correctWindowSize(typed), corrected) << typed;
    }
    // Stored rounded half to even, within 16 bits.
    const std::pair<const char*, std::int16_t> stored[] = { { "79.5", 80 },    { "80.5", 80 }, { "81.5", 82 },
                                                            { "95 %", 95 },    { "x", 0 },     { "1e9", 1 },
                                                            { "99999", 32767 } };
    for (const auto& [text, size] : stored) {
        EXPECT_EQ(windowSizeOf(text), size) << text;
    }
}

} // namespace
} // namespace tarn::FieldRules
