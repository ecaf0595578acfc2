#pragma once

#include "config_tool/foundation/UiServices.h"

class QWidget;

namespace tarn {

// Message boxes and the beep through Qt. Boxes are titled with the program's name and belong to the
// window that is active when they open.
class QtUiServices : public UiServices
{
public:
    static constexpr const char* kProgramName = "TarnConfig";

    void showMessage(const std::string& text, MessageIcon icon = MessageIcon::None) override;
    void showTitledMessage(const std::string& title, const std::string& text, MessageIcon icon) override;
    QuestionAnswer askYesNoCancel(const std::string& text) override;
    QuestionAnswer askYesNo(const std::string& text, QuestionAnswer defaultAnswer) override;
    void beep() override;
};

} // namespace tarn
