#pragma once

#include <string>

namespace tarn {

enum class MessageIcon
{
    None,
    Information,
    Exclamation,
    Critical,
};

enum class QuestionAnswer
{
    Yes,
    No,
    Cancel,
};

// What the core asks of the window system. The core never pops anything up itself: the Qt windows
// implement this, tests use a recording fake with scripted answers, a command-line front end prints.
class UiServices
{
public:
    virtual ~UiServices() = default;

    // A modal message box with an OK button, titled with the program's name.
    virtual void showMessage(const std::string& text, MessageIcon icon = MessageIcon::None) = 0;

    // A modal message box under a title of its own (the access-control windows title theirs
    // "Config ORVANT"). Services that keep one title for every box show the message under theirs.
    virtual void showTitledMessage(const std::string& title, const std::string& text, MessageIcon icon)
    {
        static_cast<void>(title);
        showMessage(text, icon);
    }

    // A modal question with Yes, No and Cancel buttons.
    virtual QuestionAnswer askYesNoCancel(const std::string& text) = 0;

    // A modal question with Yes and No buttons; Enter gives defaultAnswer, and so does a box that is
    // closed without an answer.
    virtual QuestionAnswer askYesNo(const std::string& text, QuestionAnswer defaultAnswer) = 0;

    // The system beep (a refused key).
    virtual void beep() = 0;
};

} // namespace tarn
