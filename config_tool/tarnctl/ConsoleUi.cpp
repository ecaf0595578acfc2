#include "config_tool/tarnctl/ConsoleUi.h"

namespace tarn::ctl {

ConsoleUi::ConsoleUi(std::ostream& out)
    : m_out(out)
{
}

void ConsoleUi::showMessage(const std::string& text, MessageIcon)
{
    m_out << text << '\n' << std::flush;
}

QuestionAnswer ConsoleUi::askYesNoCancel(const std::string& text)
{
    m_out << text << "\n(answered Cancel)\n" << std::flush;
    return QuestionAnswer::Cancel;
}

QuestionAnswer ConsoleUi::askYesNo(const std::string& text, QuestionAnswer defaultAnswer)
{
    m_out << text << "\n(answered " << (defaultAnswer == QuestionAnswer::Yes ? "Yes" : "No") << ")\n" << std::flush;
    return defaultAnswer;
}

void ConsoleUi::beep() { }

} // namespace tarn::ctl
