#pragma once

#include <cstdint>
#include <string>

namespace tarn {

// The three states of a check box, as the stored upgrade options write them ("0", "1", "2").
enum class CheckState : std::int16_t
{
    Unchecked = 0,
    Checked = 1,
    Grayed = 2,
};

// What the main window holds outside the instance records. The window copies its controls in here
// before a save and shows them after loadCommonSettings; the core never touches a widget. A
// command-line front end fills it from its own options.
struct WindowContext
{
    // "Common" frame and the properties folder every instance folder is formed from.
    std::string propertyDir; // txtPropertyDir, "Base Directory" (stored as PropertiesDir)
    std::string classPath; // txtClasspath (ClassPath)

    // "Hospitality" tab.
    std::string hblHost; // txtHBLHost (HBLHost)
    std::string hblPort; // txtHBLPort (HBLPort)
    std::string deleteTransAfterMin; // txtDeleteTransAfterMin (DeleteTransAfterMin)

    // Check boxes. A grayed box counts as ticked where the stored value is "True"/"False".
    CheckState transactionResultMandatory = CheckState::Unchecked; // cbTransactionResultMandatory
    CheckState checkUpgrade = CheckState::Checked; // cbCheckUpgrade, stored "0"/"1"/"2"
    CheckState autoUpgrade = CheckState::Unchecked; // cbAutoUpgrade, stored "0"/"1"/"2"
    CheckState allowSplit = CheckState::Checked; // cbAllowSplit
    CheckState showConfirmTxnScreen = CheckState::Checked; // cbShowConfirmationScreen

    // Printers: the stored Printer value is read only when cmbPrinters lists at least one printer,
    // with the system's default printer's device name as its default.
    bool hasPrinters = false;
    std::string defaultPrinter;

    // Screen metrics for the twips rule of the stored window positions. Zero means unknown (no
    // screen, e.g. a command-line front end): positions are then kept exactly as stored.
    int screenWidthPixels = 0;
    int screenHeightPixels = 0;
    double twipsPerPixelX = 0.0;
    double twipsPerPixelY = 0.0;
};

} // namespace tarn
