#pragma once

#include "config_tool/access/PasswordChange.h"

#include <QDialog>
#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarn {

// Replaces the administrator's password. Opened beside the main window and not waited for; one at a
// time. Loading it puts it in administrator mode (adminVerified); a wrong old password turns it into
// plain mode, where the old password is checked against the "Administrator" entry only and the stricter
// input checks apply, until it is opened again.
class frmChangeUser : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Config ORVANT Change Password-2.2.4.1";

    // Opens the window, loaded afresh, or brings the open one to the front. It deletes itself when closed.
    static frmChangeUser* openOrRaise();
    // The open window, if any.
    static frmChangeUser* openWindow();

    // Load: the user ID "Administrator", administrator mode and the captions. showWindow shows it.
    explicit frmChangeUser(QWidget* parent = nullptr);
    ~frmChangeUser() override;

    // Shows the window centred on the screen.
    void showWindow();

    // True when the new password is long enough (PasswordChange.h); otherwise says so, empties the new
    // and confirm fields and puts the focus in the new one.
    bool SatisfyPwdlength();

    // 0 Ok, 1 Cancel.
    void cmdButtons_Click(int index);

    QLineEdit* txtFields(int index) const { return m_txtFields.at(static_cast<std::size_t>(index)); }
    QLabel* Label1(int index) const { return m_Label1.at(static_cast<std::size_t>(index)); }
    QPushButton* cmdButtons(int index) const { return m_cmdButtons.at(static_cast<std::size_t>(index)); }

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void okClicked();
    // The outcome of the checks: its message, the fields emptied, the focus, and the window closed.
    void show(const PasswordChangeResult& result);

    std::array<QLineEdit*, 4> m_txtFields {};
    std::array<QLabel*, 4> m_Label1 {};
    std::array<QPushButton*, 2> m_cmdButtons {};
};

} // namespace tarn
