#include "config_tool/foundation/Globals.h"

#include "platform/Environment.h"

namespace tarn::Globals {

namespace {

// Until a front end installs its windows, nothing is shown and every question is declined.
class SilentUi : public UiServices
{
public:
    void showMessage(const std::string&, MessageIcon) override { }
    QuestionAnswer askYesNoCancel(const std::string&) override { return QuestionAnswer::Cancel; }
    QuestionAnswer askYesNo(const std::string&, QuestionAnswer defaultAnswer) override { return defaultAnswer; }
    void beep() override { }
};

SilentUi g_silentUi;
UiServices* g_ui = &g_silentUi;
GlobalState g_state;

} // namespace

GlobalState& state()
{
    return g_state;
}

void reset()
{
    g_state = GlobalState {};
}

UiServices& ui()
{
    return *g_ui;
}

void setUi(UiServices* services)
{
    g_ui = services ? services : &g_silentUi;
}

const std::string& ensureInstallationFolder()
{
    if (g_state.installationFolder.empty()) {
        g_state.installationFolder = orvant::platform::getEnvironmentVariable("KELBRIN_HOME").value_or("");
        if (g_state.installationFolder.empty()) {
            g_state.installationFolder = "C:\\ORVANT";
        }
    }
    return g_state.installationFolder;
}

} // namespace tarn::Globals
