#pragma once

#include "config_tool/window/WindowServices.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvant::test {

// The window system as a test scripts it: two printers (the second the default), four font names (one
// of them empty), a 1024 x 768 screen, and each dialog answered once from its answer (cancelled without).
class FakeWindowServices : public tarn::WindowServices
{
public:
    std::optional<std::int32_t> chooseColor(std::int32_t) override { return std::exchange(colorAnswer, {}); }
    std::string chooseOpenFile(const std::string& pattern) override
    {
        return std::exchange(fileAnswer, {}).value_or(pattern);
    }
    std::vector<std::string> printerNames() override { return { "Receipt Printer", "Office Laser" }; }
    std::string defaultPrinterName() override { return defaultPrinter; }
    std::vector<std::string> fontNames() override { return { "Arial", "", "Courier New", "Tahoma" }; }
    tarn::ScreenMetrics screenMetrics() override { return { 1024, 768, 15.0, 15.0 }; }

    std::string defaultPrinter = "Office Laser"; // empty: none chosen
    std::optional<std::int32_t> colorAnswer;
    std::optional<std::string> fileAnswer;
};

} // namespace orvant::test
