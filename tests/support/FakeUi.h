#pragma once

#include "config_tool/foundation/UiServices.h"

#include <deque>
#include <string>
#include <vector>

namespace orvant::test {

// Records what the core shows (with each box's title) and answers questions from a script (Cancel when the script runs
// out).
class FakeUi : public tarn::UiServices
{
public:
    void showMessage(const std::string& text, tarn::MessageIcon icon = tarn::MessageIcon::None) override
    {
        showTitledMessage("", text, icon);
    }

    void showTitledMessage(const std::string& title, const std::string& text, tarn::MessageIcon icon) override
    {
        titles.push_back(title);
        messages.push_back(text);
        icons.push_back(icon);
    }

    tarn::QuestionAnswer askYesNoCancel(const std::string& text) override
    {
        questions.push_back(text);
        if (answers.empty()) {
            return tarn::QuestionAnswer::Cancel;
        }
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Takes the next scripted answer too; without one, the default.
    tarn::QuestionAnswer askYesNo(const std::string& text, tarn::QuestionAnswer defaultAnswer) override
    {
        questions.push_back(text);
        if (answers.empty()) {
            return defaultAnswer;
        }
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    void beep() override { ++beeps; }

    // The boxes shown since the last call, one a line: "[title] text (icon)", and forgets them.
    std::string takeMessages()
    {
        const char* iconNames[] = { "none", "information", "exclamation", "critical" };
        std::string shown;
        for (std::size_t i = 0; i < messages.size(); ++i) {
            shown += "[" + titles[i] + "] " + messages[i] + " (" + iconNames[static_cast<int>(icons[i])] + ")\n";
        }
        messages.clear();
        titles.clear();
        icons.clear();
        return shown;
    }

    std::vector<std::string> messages;
    std::vector<tarn::MessageIcon> icons;
    std::vector<std::string> titles; // "" for a box under the program's own title
    std::vector<std::string> questions;
    std::deque<tarn::QuestionAnswer> answers;
    int beeps = 0;
};

} // namespace orvant::test
