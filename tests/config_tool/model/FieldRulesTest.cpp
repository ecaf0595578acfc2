#include "config_tool/model/FieldRules.h"

#include "config_tool/model/PinPadModels.h"
#include "config_tool/model/WindowSize.h"

#include <gmock/gmock.h>
#include <limits>

namespace tarn::FieldRules {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;
using ::testing::HasSubstr;

constexpr std::int16_t kPos = 1, kHospitality = 2, kKiosk = 4;
constexpr auto Unchecked = CheckState::Unchecked, Checked = CheckState::Checked, Grayed = CheckState::Grayed;

auto ports(bool pinPadPort, bool comPort, bool readerPort)
{
    return AllOf(Field("pinPadPort", &PortControls::pinPadPort, pinPadPort),
                 Field("comPort", &PortControls::comPort, comPort),
                 Field("readerPort", &PortControls::readerPort, readerPort));
}

auto enabled(bool autoUpgrade, bool askGratuity, bool referralModes)
{
    return AllOf(Field("autoUpgradeEnabled", &UpgradeControls::autoUpgradeEnabled, autoUpgrade),
                 Field("askGratuityEnabled", &UpgradeControls::askGratuityEnabled, askGratuity),
                 Field("referralModeEnabled", &UpgradeControls::referralModeEnabled, referralModes));
}

// The models whose table entry says so, in the order the window lists them.
std::vector<std::string> modelsWhere(bool PinPadModel::*flag)
{
    std::vector<std::string> names;
    for (const auto& model : pinPadModels()) {
        if (model.*flag) {
            names.emplace_back(model.name);
        }
    }
    return names;
}

TEST(FieldRules, PinPadModelsDecideTheCombinedReaderAndThePortControls)
{
    EXPECT_THAT(modelsWhere(&PinPadModel::combinedReader),
                ElementsAre("Dione secura UPT", "Trintech smart 5000", "Dione secura UPT No MagStripe"));
    EXPECT_TRUE(isCombinedReader("Trintech smart 5000"));
    EXPECT_FALSE(isCombinedReader("Verifone Vx999")) << "a model not in the list";
    EXPECT_THAT(portControls("Verifone Vx670"), ports(true, false, false)) << "reached over the network";
    EXPECT_THAT(portControls("Sagem"), ports(false, true, true)) << "a COM port and one for its reader";
    EXPECT_THAT(portControls("Dione xtreme"), ports(false, true, false));
    EXPECT_THAT(portControls("Verifone Vx999"), ports(false, true, false));
    EXPECT_THAT(offeredPinPadModels(kHospitality),
                ElementsAre("No Card Reader", "Dione secura", "Dione xplorer", "Dione xtreme", "Verifone Vx670"));
    EXPECT_EQ(offeredPinPadModels(kPos).size(), pinPadModels().size()) << "every model outside Hospitality";
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
    EXPECT_THAT(recordControls(record, kPos),
                AllOf(Field("socketPort", &RecordControls::socketPort, false),
                      Field("fileDirs", &RecordControls::fileDirs, true),
                      Field("receiptPort", &RecordControls::receiptPort, true),
                      Field("avsRules", &RecordControls::avsRules, true),
                      Field("printers", &RecordControls::printers, true),
                      Field("vx670Printer", &RecordControls::vx670Printer, true),
                      Field("ports", &RecordControls::ports, ports(true, false, false))));
}

TEST(FieldRules, AKioskLocksAutoUpgradeAskGratuityAndTheReferralModes)
{
    // After the load: Auto Upgrade follows Check Upgrades outside a kiosk.
    EXPECT_THAT(upgradeControlsAfterLoad(kPos, Unchecked), enabled(false, true, true));
    EXPECT_THAT(upgradeControlsAfterLoad(kPos, Grayed), enabled(true, true, true));
    EXPECT_THAT(upgradeControlsAfterLoad(kKiosk, Checked), enabled(false, true, false));
    UpgradeControls shown;
    instanceShown(shown, kKiosk);
    EXPECT_THAT(shown, enabled(false, true, false));

    // Choosing an environment: a kiosk clears Ask Gratuity; elsewhere only a ticked Check Upgrades unlocks.
    struct Choice
    {
        std::int16_t environment;
        CheckState checkUpgrade;
        bool unlocked; // the three controls enabled afterwards (all were disabled)
        bool askGratuity; // Ask Gratuity still ticked afterwards (it was)
    };
    const Choice choices[] = {
        { kKiosk, Checked, false, false },
        { kPos, Checked, true, true },
        { kPos, Grayed, false, true },
        { kPos, Unchecked, false, true },
    };
    for (const auto& choice : choices) {
        SCOPED_TRACE(::testing::Message()
                     << "environment " << choice.environment << ", Check Upgrades " << int(choice.checkUpgrade));
        UpgradeControls controls { false, false, false };
        bool askGratuity = true;
        environmentChosen(controls, choice.environment, choice.checkUpgrade, askGratuity);
        EXPECT_THAT(controls, enabled(choice.unlocked, choice.unlocked, choice.unlocked));
        EXPECT_EQ(askGratuity, choice.askGratuity);
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

TEST(WindowSize, TheHelpStatesTheBoundsTheRuleUses)
{
    // The largest whole size the rule still replaces, found by asking the rule.
    int replaced = 100;
    while (replaced > 0 && correctWindowSize(std::to_string(replaced - 1)) == std::to_string(replaced - 1)) {
        --replaced;
    }
    --replaced;
    EXPECT_EQ(correctWindowSize(std::to_string(replaced)), "100");
    EXPECT_THAT(windowSizeRuleText(), HasSubstr(std::to_string(replaced) + " or less and above 100 become 100"));
}

} // namespace
} // namespace tarn::FieldRules
