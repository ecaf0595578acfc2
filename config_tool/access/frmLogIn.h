#pragma once

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tarn {

// The start-up window: only the administrator gets through to the main window. Cancel, Esc or closing
// the window ends the program.
class frmLogIn : public QDialog
{
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Configure ORVANT Login -2.2.4.1";

    // Load: the controls with their captions. showWindow shows the window.
    explicit frmLogIn(QWidget* parent = nullptr);
    ~frmLogIn() override;

    // What a successful login opens (the main window, not waited for) and how Cancel ends the program;
    // the program entry sets both. Unset, nothing is opened or ended.
    void setMainWindowOpener(std::function<void()> openMainWindow);
    void setProgramEnd(std::function<void()> endProgram);

    // Shows the window centred on the screen.
    void showWindow();

    // 0 Ok, 1 Cancel.
    void cmdButtons_Click(int index);

    QLineEdit* txtFields(int index) const { return m_txtFields.at(static_cast<std::size_t>(index)); }
    QPushButton* cmdButtons(int index) const { return m_cmdButtons.at(static_cast<std::size_t>(index)); }

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void okClicked();

    std::array<QLineEdit*, 2> m_txtFields {};
    std::array<QPushButton*, 2> m_cmdButtons {};
    std::function<void()> m_openMainWindow;
    std::function<void()> m_endProgram;
    bool m_loggedIn = false;
    bool m_ending = false;
};

} // namespace tarn
