#pragma once

#include "config_tool/access/UserManagement.h"
#include "config_tool/foundation/Globals.h"
#include "tests/support/FakeUi.h"
#include "tests/support/TestFolder.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarn::test {

// FakeUi that also keeps each message's title: "" for a box under the program's own title.
class AccessUi : public orvant::test::FakeUi
{
public:
    void showMessage(const std::string& text, MessageIcon icon) override
    {
        titles.emplace_back();
        FakeUi::showMessage(text, icon);
    }

    void showTitledMessage(const std::string& title, const std::string& text, MessageIcon icon) override
    {
        titles.push_back(title);
        FakeUi::showMessage(text, icon);
    }

    std::vector<std::string> titles;
};

// The widget Tab moves to from `from`: the next in the focus chain that takes Tab focus.
inline QWidget* nextTabStop(QWidget* from)
{
    for (QWidget* next = from->nextInFocusChain(); next && next != from; next = next->nextInFocusChain()) {
        if ((next->focusPolicy() & Qt::TabFocus) && next->isVisibleTo(from->window()) && next->isEnabled()) {
            return next;
        }
    }
    return nullptr;
}

// One message as the operator sees it.
struct Shown
{
    std::string text;
    MessageIcon icon;
    std::string title;
    bool operator==(const Shown&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Shown& shown)
{
    return out << '"' << shown.text << "\" icon " << static_cast<int>(shown.icon) << " title \"" << shown.title << '"';
}

// A test folder with KELBRIN_HOME at <folder>/home, the UI services recorded, and the process-wide values
// fresh. Windows left open by a test are closed and deleted afterwards.
class AccessWindowTest : public ::testing::Test
{
protected:
    AccessWindowTest()
    {
        Globals::reset();
        Globals::setUi(&m_ui);
    }

    ~AccessWindowTest() override
    {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            window->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Globals::setUi(nullptr);
        Globals::reset();
    }

    static constexpr const char* kUserFile = "home/properties/configuser.properties";

    void writeUsers(const std::string& bytes) { m_folder.write(kUserFile, bytes); }
    std::string users() const { return m_folder.read(kUserFile); }
    static std::string hashOf(const std::string& password) { return UserManagement::passwordHash(password); }

    // Every message since the last call, and forgets them.
    std::vector<Shown> takeMessages()
    {
        std::vector<Shown> shown;
        for (std::size_t i = 0; i < m_ui.messages.size(); ++i) {
            shown.push_back({ m_ui.messages[i], m_ui.icons[i], m_ui.titles[i] });
        }
        m_ui.messages.clear();
        m_ui.icons.clear();
        m_ui.titles.clear();
        return shown;
    }

    orvant::test::TestFolder m_folder;
    AccessUi m_ui;
};

} // namespace tarn::test
