#pragma once

#include "config_tool/foundation/UiServices.h"

#include <ostream>

namespace tarn::ctl {

// The core's messages on a console: each message box becomes its text on standard error, exactly as
// the window shows it, so that scripts can match it. Nobody is there to answer a question: it is
// shown and answered Cancel, or its default, the answers that change nothing.
class ConsoleUi : public UiServices
{
public:
    explicit ConsoleUi(std::ostream& out);

    void showMessage(const std::string& text, MessageIcon icon = MessageIcon::None) override;
    QuestionAnswer askYesNoCancel(const std::string& text) override;
    QuestionAnswer askYesNo(const std::string& text, QuestionAnswer defaultAnswer) override;
    void beep() override;

private:
    std::ostream& m_out;
};

} // namespace tarn::ctl
