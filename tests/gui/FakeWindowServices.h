#pragma once

#include "config_tool/window/WindowServices.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace orvant::test {

// The window system as a test scripts it: fixed lists and screen, dialog answers taken from queues (a
// dialog without a scripted answer is cancelled), and every dialog call recorded.
class FakeWindowServices : public tarn::WindowServices
{
public:
    std::optional<std::int32_t> chooseColor(std::int32_t current) override
    {
        colorDialogStarts.push_back(current);
        return next(colorAnswers, std::optional<std::int32_t>());
    }

    std::string chooseOpenFile(const std::string& pattern) override
    {
        fileDialogPatterns.push_back(pattern);
        return next(fileAnswers, pattern);
    }

    std::vector<std::string> printerNames() override { return printers; }
    std::string defaultPrinterName() override { return defaultPrinter; }
    std::vector<std::string> fontNames() override { return fonts; }
    tarn::ScreenMetrics screenMetrics() override { return screen; }

    std::vector<std::string> printers { "Receipt Printer", "Office Laser" };
    std::string defaultPrinter = "Office Laser";
    std::vector<std::string> fonts { "Arial", "", "Courier New", "Tahoma" };
    tarn::ScreenMetrics screen { 1024, 768, 15.0, 15.0 };

    std::deque<std::optional<std::int32_t>> colorAnswers;
    std::deque<std::string> fileAnswers;
    std::vector<std::int32_t> colorDialogStarts;
    std::vector<std::string> fileDialogPatterns;

private:
    template <typename T> static T next(std::deque<T>& answers, T whenNone)
    {
        if (answers.empty()) {
            return whenNone;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

} // namespace orvant::test
