#include "config_tool/tarnctl/Tarnctl.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/session/AuditLog.h"
#include "config_tool/tarnctl/CommandLine.h"
#include "config_tool/tarnctl/CommandTable.h"
#include "config_tool/tarnctl/ConsoleUi.h"
#include "config_tool/tarnctl/Installation.h"

namespace tarn::ctl {

namespace {

// Keeps the console's UI services installed for the life of one run.
class UiScope
{
public:
    explicit UiScope(UiServices& ui) { Globals::setUi(&ui); }
    ~UiScope() { Globals::setUi(nullptr); }
    UiScope(const UiScope&) = delete;
    UiScope& operator=(const UiScope&) = delete;
};

} // namespace

int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (parsed.commandLine.help) {
        out << helpText();
        return toInt(ExitStatus::Done);
    }
    if (parsed.commandLine.version) {
        out << versionText();
        return toInt(ExitStatus::Done);
    }
    if (!parsed.error.empty()) {
        err << "tarnctl: " << parsed.error << '\n' << usageHint() << '\n';
        return toInt(ExitStatus::Usage);
    }
    const CommandLine& line = parsed.commandLine;

    ConsoleUi ui(err);
    const UiScope scope(ui);
    std::string error;
    if (!openInstallationFolder(line.home, error)) {
        err << "tarnctl: " << error << '\n';
        return toInt(ExitStatus::Usage);
    }

    setAuditProgram("tarnctl");
    PasswordInput passwords(line.passwordSource, line.passwordFile);
    CommandContext context { line, passwords, out, err };
    const ExitStatus status = runCommand(*findCommand(line.command), context);
    out.flush();
    if (status == ExitStatus::Done && context.changed && line.changedExit) {
        return *line.changedExit;
    }
    return toInt(status);
}

} // namespace tarn::ctl
