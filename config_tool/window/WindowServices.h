#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarn {

// The screen as the window system reports it; twips per pixel is 1440 divided by the logical dots per inch.
struct ScreenMetrics
{
    int widthPixels = 0;
    int heightPixels = 0;
    double twipsPerPixelX = 15.0;
    double twipsPerPixelY = 15.0;
};

// What only the main window asks of the window system, beyond the messages of UiServices: the common dialogs,
// the printer and font lists and the screen. Tests script these; the Qt implementation is QtWindowServices.
class WindowServices
{
public:
    virtual ~WindowServices() = default;

    // The colour dialog, started on the given Windows colour value (0x00BBGGRR or a system colour). The chosen
    // colour as 0x00BBGGRR, or nothing when the operator cancelled.
    virtual std::optional<std::int32_t> chooseColor(std::int32_t current) = 0;

    // The open-file dialog with filter and initial file name both set to pattern. Returns the file name the
    // dialog holds when it closes: the chosen file's full name, or pattern itself when cancelled.
    virtual std::string chooseOpenFile(const std::string& pattern) = 0;

    // Every printer the system knows, in the system's order, and the default printer's name ("" when none).
    virtual std::vector<std::string> printerNames() = 0;
    virtual std::string defaultPrinterName() = 0;

    // The names of the screen fonts.
    virtual std::vector<std::string> fontNames() = 0;

    virtual ScreenMetrics screenMetrics() = 0;
};

} // namespace tarn
