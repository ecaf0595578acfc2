#pragma once

#include "config_tool/model/CInstanceData.h"
#include "config_tool/model/FieldRules.h"
#include "config_tool/session/ConfigSession.h"
#include "config_tool/session/LoadedFiles.h"
#include "config_tool/window/TarnConfControls.h"

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tarn {

class DigitsOnlyKeyFilter;
class WindowServices;

// The main window: one instance's settings at a time on seven tabs, the installation-wide settings beside
// them, and OK, Apply and Cancel. The window only moves values between its controls and the session
// (records and common settings); loading, checking and saving are the session's.
class TarnConf : public QWidget
{
    Q_OBJECT

public:
    static constexpr const char* kTitle = "Configure ORVANT (version 2.2.4.1)";
    // Asked by Cancel and the title-bar close when an edit would be lost.
    static constexpr const char* kDiscardQuestion = "Discard changes?";
    // Asked after what a new Base Directory lacks of the instance folders, before a save stores it.
    static constexpr const char* kSaveAnywayQuestion = "Save anyway?";

    // services: the dialogs, printers, fonts and screen; null uses the window system's own.
    explicit TarnConf(WindowServices* services = nullptr, QWidget* parent = nullptr);
    ~TarnConf() override;

    // Reads the installed software version for the version label at load; none set leaves the label empty.
    void setVersionCheck(std::function<std::string()> versionCheck);

    // Start-up: the installation, the lists, the instances, and the Default instance on screen. Runs once,
    // at the latest when the window is first shown.
    void Form_Load();

    ConfigSession& session() { return m_session; }
    const TarnConfControls& controls() const { return m_ui; }
    std::int16_t currentIndex() const { return m_currentIndex; }
    const std::string& currentVersion() const { return m_currentVersion; }

    // Control binding: a record to the controls and back. The environment always shows and goes into
    // record 0, whichever record is shown.
    void showInstanceData(const CInstanceData& record);
    void collectInstanceData(CInstanceData& record);
    // The settings whose check box or text box takes no part in the window's events, straight from the
    // configuration layout (TarnConfPlainSettings.cpp).
    void showPlainSettings(const CInstanceData& record);
    void collectPlainSettings(CInstanceData& record) const;
    void setEnvironmentFromList();

    // Lists filled at load; also used when the environment changes the PIN-pad list.
    void fillPinPadList();
    void fillComPorts();

    // Event handlers.
    void cboInstance_Click();
    void cboEnvironment_Click();
    void cmbPinPad_Click();
    void cbEnablePrintReceipt_Click();
    void cbVerifoneVxPri_Click();
    void cbSendReceipt_Click();
    void cbUseAvsRules_Click();
    void cbCheckUpgrade_Click();
    void optInterfaceMethod_Click(int index);
    void optConfType_Click(int index);
    void btSetColor_Click();
    void btBrowseLogoFile_Click();
    void btWaterMarkBrowse_Click();
    void btOk_Click();
    void btApply_Click();
    void btCancel_Click();
    void btAddNew_Click();
    void btRunUpgrade_Click();

    // Enable/disable pairs of the dependent controls.
    void enableSocketPort();
    void disableSocketPort();
    void enableFileDirs();
    void disableFileDirs();
    void enableReceiptPort();
    void disableReceiptPort();
    void enableAvsRules();
    void disableAvsRules();
    void enableReferralMode();
    void disableReferralMode();

    // The stored colour that txtBackColor shows (a Windows colour value).
    std::int32_t backColor() const { return m_backColor; }
    void setBackColor(std::int32_t value);

signals:
    // The change-password window belongs to the program entry, which opens it beside this one (not modal).
    void changePasswordRequested();
    // OK after a full save, Cancel, the title-bar close and the upgrade launcher end the program; the
    // program entry does it.
    void programEndRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectHandlers();
    void watchNumericKeys();
    void centreOnScreen();
    void showCommonSettings();
    void showUpgradeSettings();
    void copyCommonSettingsToSession();
    // The leave-rules of the fields (FieldRules::leaveRules): of one field when it loses the focus, of all
    // of them before the controls are collected.
    void leaveField(QWidget* control);
    void applyLeaveRules();
    void applyPinPadPortRule(const std::string& model);
    void applyVx670PrinterRule();
    void showUpgradeControls();
    void showInterfaceControls(const FieldRules::RecordControls& controls);
    // The values the dependent controls follow, as the controls show them now, and the rules' answer.
    CInstanceData shownRecordControls() const;
    std::int16_t environmentShown() const;
    FieldRules::RecordControls recordControlsShown() const;
    void chooseImageInto(QLineEdit* target);
    std::int16_t environmentOfRecord0() const;
    // Runs a save under the installation lock, after asking when the save would point the Base Directory
    // at a folder without the instance folders, and when another program changed what this window loaded
    // and the window has edits to save. True when the save succeeded, or when the window
    // had no edits and another program's changes were left as they are; false when nothing was saved
    // or the save failed.
    bool guardedSave(const std::function<bool()>& save);

    // Edits since the last OK or Apply, so that Cancel and the title-bar close ask before they are lost.
    void watchEdits();
    void markEdited(bool common);
    void shownEditsCollected();
    void everythingCollectedSaved();
    bool mayDiscardEdits();
    // OK after a full save, Cancel, the title-bar close and the upgrade launcher end the program: the
    // window asks the program entry (programEndRequested), which closes every window.
    void requestProgramEnd();

    TarnConfControls m_ui;
    ConfigSession m_session;
    WindowServices* m_services = nullptr;
    DigitsOnlyKeyFilter* m_numericKeys = nullptr;
    std::function<std::string()> m_versionCheck;
    std::string m_currentVersion;
    std::int16_t m_currentIndex = 0;
    std::int32_t m_backColor = kButtonFaceColor;
    FieldRules::UpgradeControls m_upgradeControls;
    LoadedFiles m_loadedFiles; // what the window's load found on disk, or its last save left there
    bool m_shownEdited = false; // the shown instance's controls, since they were shown or collected
    bool m_recordsEdited = false; // records changed by collected edits or a new instance, not saved yet
    bool m_commonEdited = false; // the installation-wide controls, since the last save of them
    bool m_ending = false;
    bool m_loaded = false;
};

} // namespace tarn
