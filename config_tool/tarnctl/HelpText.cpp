#include "config_tool/foundation/ConfigurationMode.h"
#include "config_tool/model/Checks.h"
#include "config_tool/model/Choices.h"
#include "config_tool/model/PinPadModels.h"
#include "config_tool/model/WindowSize.h"
#include "config_tool/tarnctl/CommandLine.h"
#include "config_tool/tarnctl/CommandTable.h"
#include "config_tool/tarnctl/SettingTable.h"

#include <sstream>

namespace tarn::ctl {

namespace {

constexpr std::size_t kColumn = 21;
constexpr std::size_t kWidth = 80;

// Words wrapped to the help's width, each line after the first indented by `indent` blanks.
std::string wrapped(const std::string& words, std::size_t firstColumn, std::size_t indent)
{
    std::string text;
    std::size_t lineLength = firstColumn;
    std::istringstream in(words);
    for (std::string word; in >> word;) {
        if (lineLength > indent && lineLength + 1 + word.size() > kWidth) {
            text += '\n';
            text.append(indent, ' ');
            lineLength = indent;
        } else if (!text.empty()) {
            text += ' ';
            ++lineLength;
        }
        text += word;
        lineLength += word.size();
    }
    return text;
}

// A setting's line: its name, then its description in the second column (below the name when the name
// is too long for the first), wrapped to the help's width.
std::string describedSetting(const std::string& name, const std::string& description)
{
    const std::string head = "  " + name;
    const std::string start = head.size() + 2 <= kColumn ? head + std::string(kColumn - head.size(), ' ')
                                                         : head + "\n" + std::string(kColumn, ' ');
    return start + wrapped(description, kColumn, kColumn) + "\n";
}

// Each command with its arguments, and its description beside them (or below, for a long name), as the
// command table declares them.
std::string commandsHelp()
{
    const std::string indent(kColumn, ' ');
    std::string text = "Commands:\n";
    for (const auto& command : commandTable()) {
        std::string head = "  ";
        head += command.name;
        if (!command.arguments.empty()) {
            head += ' ';
            head += command.arguments;
        }
        text += head.size() + 2 <= kColumn ? head + std::string(kColumn - head.size(), ' ') : head + "\n" + indent;
        for (const char c : command.summary) {
            text += c;
            if (c == '\n') {
                text += indent;
            }
        }
        text += "\n";
    }
    return text;
}

// Every setting with the values it takes, from the settings table and the bounds its checks use.
std::string settingsHelp()
{
    std::string text = "Settings (NAME for set; show prints them all):\n";
    for (const auto& setting : allSettings()) {
        std::string values = setting.declaration ? valuesInWords(*setting.declaration)
                                                 : std::string(kRegistryModeText) + " or " + std::string(kXmlModeText);
        if (setting.name == Layout::kPropertiesDir) {
            values += " (the folder the instance folders INSTANCE_nn are in: a new one must be an existing folder "
                      "that holds every instance's folder already)";
        } else if (setting.name == Layout::kTimeout) {
            values += "; a save needs it from " + std::to_string(kCardTimeoutLeast) + " to "
                + std::to_string(kCardTimeoutMost);
        }
        text += describedSetting(std::string(setting.name), values);
    }
    return text;
}

std::string fieldRulesHelp()
{
    return wrapped("The window's field rules apply. " + std::string(Layout::kEnvironment) + ", then "
                       + std::string(Layout::kCheckUpgrade) + " and " + std::string(Layout::kPinPad)
                       + " are applied before the other settings, as if chosen first: a changed "
                       + std::string(Layout::kEnvironment) + " resets the instance's " + std::string(Layout::kPinPad)
                       + " to \"" + std::string(PinPads::kNoCardReader) + "\" (and "
                       + Choices::environmentText(Choices::kKiosk).value_or("")
                       + " clears Ask Gratuity); a PIN pad with a card reader built in ticks Combined Reader, any "
                         "other clears "
                         "it; clearing "
                       + std::string(Layout::kCheckUpgrade)
                       + " clears Auto Upgrade. A setting whose field the "
                         "window disables or hides in the result is refused, and the refusal says why.",
                   0, 0)
        + "\n";
}

} // namespace

std::string helpText()
{
    return R"(Usage: tarnctl [--home DIR] [--wait SECONDS] [--password-file FILE | --password-stdin] [--dry-run]
               [--json] [--changed-exit N] COMMAND

Configures an ORVANT installation from scripts, through the same checks and save
sequence as the TarnConfig window: whatever tarnctl writes, the window would have
written for the same edits.

Options:
  --home DIR            the installation folder (overrides KELBRIN_HOME; default
                        KELBRIN_HOME, else C:\ORVANT)
  --password-file FILE  read passwords from FILE, one per line
  --password-stdin      read passwords from standard input, one per line
  --wait SECONDS        how long to wait for another run or a TarnConfig window
                        that is saving the same installation (default 5)
  --dry-run             with set, add-instance, apply and import: run every check
                        and work out the whole save, print what it would change
                        and write nothing; the exit status is the one the
                        command would have
  --json                with list, show, verify, backups and a dry run: the same
                        output as one JSON document (see below); export's is
                        JSON anyway
  --changed-exit N      with set, add-instance, apply and import: exit N (6 to
                        125) instead of 0 when the save changed something, or
                        the dry run would; 0 then means nothing needed changing
  --help                this text
  --version             the product version

Passwords never come from arguments or the environment. Without a password option
they are asked on the terminal without echo. Every command except verify needs the
Administrator password, checked as the login window checks it. From a file or
standard input the lines are taken in order: the Administrator password first,
then, for passwd, the new password (asked twice on a terminal).

Runs on one installation follow one another: a command that saves (passwd, set,
add-instance, apply, import) locks the installation from before it reads the
configuration until its last file is written; list, show, export and verify wait
for such a save to end, so they never see one half done. A run that cannot have the
lock within --wait writes nothing and exits 5, as does a save whose lock file cannot
be opened. The lock is the file conf\ORVANTConfiguration.lock of the installation;
the system releases it when the program holding it ends. A dry run waits like a
reader and makes no lock file.

Every save (set, add-instance, apply, import, rollback, the window's) first keeps the
previous version of exactly what it changes in backups\ID of the installation (the
newest 20 are kept), then appends one line per changed value to
logs\configuration-audit.log. A backup that cannot be written stops the save before
anything is changed. Backups are readable by their owner only, as they may hold a
copy of the user store; the log never holds a password or its hash. A rollback
reads nothing it has not checked: a backup naming a path outside the installation
or a registry key the configuration does not use, or one cut short, is refused
(exit 2), and one that cannot be put back whole (a folder the engine has written
into since) writes nothing (exit 1).

)" + commandsHelp()
        + R"(
INSTANCE is Default, a number (0 is Default) or a section name (Harbell_01); the
default is Default.

Output on standard output, stable for scripts:
  list, add-instance  NUMBER<TAB>SECTION<TAB>PINPAD<TAB>Socket|File<TAB>PORT
                      (add-instance prints the new instance's line)
  show                NAME=VALUE, one per line, values as stored; the order:
                      Configuration, the common settings, the instance values of
                      the configuration layout, then PinPad, ComPort, ReaderComPort
  verify              match or mismatch
  export              the configuration document, JSON: {"version": 1,
                      "installation": {NAME: VALUE, ...}, "instances": {"0":
                      {NAME: VALUE, ...}, "1": ...}}; the installation-wide
                      settings (Configuration to ShowConfirmTxnScreen) in
                      "installation", the others in each instance, by number;
                      values as show prints them; NextReceiptNumber left out
  backups             ID<TAB>TIME<TAB>PROGRAM<TAB>USER<TAB>OS-USER<TAB>FILES<TAB>REGISTRY-VALUES
                      (TIME in UTC, ISO 8601; FILES the number of files the save
                      changed, REGISTRY-VALUES the number of registry values)
  rollback            the ID of the rollback's own backup; "tarnctl rollback ID"
                      undoes it (nothing, and a message, when everything was
                      already as the backup kept it)
  --dry-run           one line per change the save would make, file by file:
                      LOCATION<TAB>INSTANCE<TAB>SETTING<TAB>OLD -> NEW
                      LOCATION is a file's path or a registry key; SETTING a
                      key, an XML element or a value name, empty for a whole file
                      or folder; OLD and NEW are (none) or a text in double
                      quotes with \\, \", \t, \r, \n and \xNN escapes; a whole
                      file shows as "<N bytes>", a folder as "<folder>"
  passwd, set, apply, import
                      nothing
  --json              list: {"instances": [{"number", "section", "pinPad",
                      "interfaceMethod", "port"}, ...]}; show: {"instance",
                      "section", "settings": {NAME: VALUE, ...}}; verify:
                      {"match": true|false}; backups: {"backups": [{"id", "time",
                      "program", "user", "osUser", "files", "registryValues"},
                      ...]}; a dry run: {"changes": [{"location", "instance",
                      "setting", "old", "new"}, ...]}, old and new null for
                      (none); texts as they are, not quoted
Messages, the window's own included, go to standard error.

Exit status:
  0  done (verify: the hash matches)
  1  refused by a check: a value the window would not take, a save check
     (uniqueness, card timeout, a PropertiesDir without the instance folders), a
     new instance that cannot be made, a password rule, a rollback that cannot
     be done whole; verify: the hash does not match or cannot be computed
  2  usage: unknown command, option, instance or setting; no password available;
     the installation folder does not exist; a backup that cannot be used; an
     import document that cannot be read, is not JSON, has another version,
     an unknown key or a gap in the instance numbers
  3  wrong password (or no Administrator entry in the user file)
  4  a file could not be written (the backup and the audit log included)
  5  the installation stayed locked by another run or window for --wait seconds,
     or its lock file could not be opened; nothing was written

)" + settingsHelp()
        + R"(A value equal to the current one is always taken, so show's lines can be fed back.

import takes a document as export writes it, from FILE or standard input (-; the
password then comes from --password-file), and saves once, as set does: values
are checked as set checks them, the installation-wide ones and the Default's with
the Default shown, then each instance of the document in number order; an instance
the document names that the installation lacks is added first as "Add New" adds
it. Instances the document leaves out and settings it leaves out are left as they
are: it never removes an instance. A document with any problem is refused whole
and nothing is written; messages name the value by its JSON path
(/instances/2/Timeout). Values may also be whole numbers or true and false. A
document that matches the installation writes nothing, no backup, no log line.

)" + fieldRulesHelp()
        + R"(
Where the window asks the window system, tarnctl assumes: a 1024 x 768 screen at
15 twips per pixel (stored window positions in twips are converted as on that
screen) and the stored Printer as the installed printer (a save keeps it).
)";
}

} // namespace tarn::ctl
