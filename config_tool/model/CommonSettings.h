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

inline bool isTicked(CheckState state)
{
    return state != CheckState::Unchecked;
}

// The installation-wide settings of section "Harbell" that are not kept in an instance record: the
// window's "Common", "Hospitality" and "Software Upgrade" controls, tarnctl's common settings.
struct CommonSettings
{
    std::string propertyDir; // the Base Directory every instance folder is formed from (PropertiesDir)
    std::string classPath; // ClassPath

    std::string hblHost; // HBLHost
    std::string hblPort; // HBLPort
    std::string deleteTransAfterMin; // DeleteTransAfterMin

    // A grayed box counts as ticked where the stored value is "True"/"False".
    CheckState transactionResultMandatory = CheckState::Unchecked;
    CheckState checkUpgrade = CheckState::Checked; // stored "0"/"1"/"2"
    CheckState autoUpgrade = CheckState::Unchecked; // stored "0"/"1"/"2"
    CheckState allowSplit = CheckState::Checked;
    CheckState showConfirmTxnScreen = CheckState::Checked;
};

// What the desktop tells a load about this machine: its printers and its screen.
struct DesktopFacts
{
    // The stored Printer value is read only when at least one printer is installed, with the system's
    // default printer's device name as its default.
    bool hasPrinters = false;
    std::string defaultPrinter;

    // Screen metrics for the twips rule of the stored window positions. Zero means unknown (no
    // screen): positions are then kept exactly as stored.
    int screenWidthPixels = 0;
    int screenHeightPixels = 0;
    double twipsPerPixelX = 0.0;
    double twipsPerPixelY = 0.0;
};

} // namespace tarn
