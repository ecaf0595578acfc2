#pragma once

#include "config_tool/model/CInstanceData.h"
#include "config_tool/model/CommonSettings.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarn::FieldRules {

// The rules that keep an instance's dependent settings consistent while the operator edits: which
// controls are offered, and which values follow another choice. The window shows their results on
// its controls; tarnctl applies them to the records and refuses changes to controls not offered.

// The PIN-pad models the list offers in an environment: five in Hospitality, all twelve elsewhere.
const std::vector<std::string>& offeredPinPadModels(std::int16_t environment);

// PIN pads with a built-in card reader: choosing one ticks "Combined Reader", any other clears it.
bool isCombinedReader(const std::string& model);

// Where a PIN-pad model is plugged in: the Vx670 is reached over the network (PIN-pad port), every
// other model on a COM port, and the Sagem has a second COM port for its reader.
struct PortControls
{
    bool pinPadPort = false;
    bool comPort = true;
    bool readerPort = false;
};
PortControls portControls(const std::string& model);

// The Vx670 prints receipts itself: its printer box is offered at a POS, when printing is on.
bool vx670PrinterOffered(const std::string& model, std::int16_t environment, bool printReceipt);

// The controls of the shown instance that follow its own values.
struct RecordControls
{
    bool socketPort = true; // Port, while the interface method is Socket (0)
    bool fileDirs = false; // InputDir and OutputDir, while it is File
    bool receiptPort = false; // while receipts are sent to a socket
    bool avsRules = false; // the AVS rule options, while AVS rules are used
    bool printers = false; // the printer list, while receipts are printed
    bool vx670Printer = false;
    PortControls ports;
};
RecordControls recordControls(const CInstanceData& record, std::int16_t environment);

// The controls whose state depends on the order of choices, not only on the values: Auto Upgrade,
// Ask Gratuity and the referral modes.
struct UpgradeControls
{
    bool autoUpgradeEnabled = false;
    bool askGratuityEnabled = true;
    bool referralModeEnabled = true;
};

// Right after the load: Auto Upgrade follows Check Upgrades, and a kiosk disables it and the referral
// modes.
UpgradeControls upgradeControlsAfterLoad(std::int16_t environment, CheckState checkUpgrade);

// An instance is shown: the referral modes are offered everywhere but in a kiosk.
void instanceShown(UpgradeControls& controls, std::int16_t environment);

// The environment is chosen (it is already in record 0; the PIN-pad list is refilled with
// offeredPinPadModels and "No Card Reader" chosen). A kiosk clears Ask Gratuity and disables it, Auto
// Upgrade and the referral modes; another environment enables the three again only while Check
// Upgrades is ticked (not grayed), and otherwise leaves them as they were.
void environmentChosen(UpgradeControls& controls, std::int16_t environment, CheckState checkUpgrade, bool& askGratuity);

// Check Upgrades is changed: ticked enables Auto Upgrade (and ticks it in a kiosk); anything else
// clears and disables it. In a kiosk Auto Upgrade stays disabled: it follows Check Upgrades alone.
void checkUpgradeChosen(UpgradeControls& controls, std::int16_t environment, CheckState checkUpgrade,
                        CheckState& autoUpgrade);

// What a field's text becomes when the operator leaves the field, for each field whose setting has such a
// rule in the configuration layout (Windows Size), by the name of its control. The window runs a field's rule when the
// field loses the focus, and every rule again whenever it collects its controls (OK, Apply, Run Upgrade Now, an
// instance switch, Add New): a button pressed by its keyboard shortcut leaves the focus where it was.
struct LeaveRule
{
    std::string_view control;
    std::string (*correct)(const std::string& text);
};
const std::vector<LeaveRule>& leaveRules();

// What collecting a record from the controls makes of the values the option groups cannot show: a
// referral mode or AVS rule without a button collects as 0 (no button selected), any interface method
// but 0 as 1 (File). The AVS rule is collected only while AVS rules are on. The window's collect and a
// script's edits (tarnctl) both end with it.
void collectAsTheControlsShowIt(CInstanceData& record);

} // namespace tarn::FieldRules
