#include "config_tool/model/WindowSize.h"
#include "config_tool/tarnctl/CommandLine.h"
#include "config_tool/tarnctl/CommandTable.h"

#include <sstream>

namespace tarn::ctl {

namespace {

// A setting's line: its name, then its description in the second column, wrapped to the help's width.
std::string describedSetting(const std::string& name, const std::string& description)
{
    constexpr std::size_t kColumn = 21;
    constexpr std::size_t kWidth = 84;
    const std::string indent(kColumn, ' ');
    std::string text = ("  " + name + indent).substr(0, kColumn);
    std::size_t lineLength = kColumn;
    std::istringstream words(description);
    for (std::string word; words >> word;) {
        if (lineLength > kColumn && lineLength + 1 + word.size() > kWidth) {
            text += "\n" + indent;
            lineLength = kColumn;
        } else if (lineLength > kColumn) {
            text += ' ';
            ++lineLength;
        }
        text += word;
        lineLength += word.size();
    }
    return text + "\n";
}

// Each command with its arguments, and its description beside them (or below, for a long name), as the
// command table declares them.
std::string commandsHelp()
{
    constexpr std::size_t kColumn = 21;
    const std::string indent(kColumn, ' ');
    std::string text = "Commands:\n";
    for (const auto& command : commandTable()) {
        std::string head = "  " + std::string(command.name);
        if (!command.arguments.empty()) {
            head += " " + std::string(command.arguments);
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

} // namespace

std::string helpText()
{
    return R"(Usage: tarnctl [--home DIR] [--wait SECONDS] [--password-file FILE | --password-stdin] [--dry-run] COMMAND

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
  --dry-run             with set, add-instance and apply: run every check and
                        work out the whole save, print what it would change and
                        write nothing; the exit status is the one the command
                        would have
  --help                this text
  --version             the product version

Passwords never come from arguments or the environment. Without a password option
they are asked on the terminal without echo. Every command except verify needs the
Administrator password, checked as the login window checks it. From a file or
standard input the lines are taken in order: the Administrator password first,
then, for passwd, the new password (asked twice on a terminal).

Runs on one installation follow one another: a command that saves (passwd, set,
add-instance, apply) locks the installation from before it reads the configuration
until its last file is written; list, show and verify wait for such a save to end,
so they never see one half done. A run that cannot have the lock within --wait
writes nothing and exits 5, as does a save whose lock file cannot be opened. The
lock is the file conf\ORVANTConfiguration.lock of the installation; the system
releases it when the program holding it ends. A dry run waits like a reader and
makes no lock file.

Every save (set, add-instance, apply, rollback, and the window's) first keeps the
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
  passwd, set, apply  nothing
Messages, the window's own included, go to standard error.

Exit status:
  0  done (verify: the hash matches)
  1  refused by a check: a value the window would not take, a save check
     (uniqueness, card timeout, a PropertiesDir without the instance folders), a
     new instance that cannot be made, a password rule, a rollback that cannot
     be done whole; verify: the hash does not match or cannot be computed
  2  usage: unknown command, option, instance or setting; no password available;
     the installation folder does not exist; a backup that cannot be used
  3  wrong password (or no Administrator entry in the user file)
  4  a file could not be written (the backup and the audit log included)
  5  the installation stayed locked by another run or window for --wait seconds,
     or its lock file could not be opened; nothing was written

Settings (NAME for set; show prints them all):
  Configuration      registry or xml
  ClassPath, PropertiesDir, HBLHost, HBLPort, DeleteTransAfterMin, CheckCardTimeout,
  LogoFile, InputDir, OutputDir, ReceiptDir, ReceiptWidth, FontName, Watermark,
  Printer
                     one line of Windows-1252 text (PropertiesDir is the folder the
                     instance folders INSTANCE_nn are in: a new one must be an existing
                     folder that holds every instance's folder already)
  Timeout, Port, ReceiptPort, PinPadPort, Top, Left
                     digits only (the window's digits-only fields); a save needs
                     Timeout from 10 to 90
  TransactionResultMandatory, AllowSplit, ShowConfirmTxnScreen, SendReceipt, Debug,
  ExtendedDebug, FullScreen, AlwaysOnTop, PINByPass, CombiReader, AskGratuity,
  USACreditDebit, UseAvsRules, AvsDetailsMandatory, DisableCancel, CardNoHashValue,
  PrintReceiptFlag, IsVx670Printer, ExtendedPinMessage
                     True or False
  CheckUpgrade, AutoUpgrade
                     True or False (stored 1 or 0)
  Environment        POS, Hospitality, Petrol Station, Kiosk, Internet, Standalone
                     (or 1 to 6); installation-wide
  InterfaceMethod    Socket or File (0 or 1)
  ReferralMode       0 to 2
  AvsRuleIndex       0 to 5
)" + describedSetting("WindowsSize", windowSizeRuleText() + ", as in the window")
        + R"(  BackGroundColor    a decimal RGB value from 0 to 16777215
  PinPad             a PIN pad of the window's list (five in Hospitality)
  ComPort, ReaderComPort
                     COM1 to COM255
  NextReceiptNumber  shown only: the engine keeps it
A value equal to the current one is always taken, so show's lines can be fed back.

The window's field rules apply. The environment, then CheckUpgrade and PinPad are
applied before the other settings, as if chosen first: a changed Environment resets
the instance's PinPad to "No Card Reader" (and Kiosk clears AskGratuity); a PinPad
ticks CombiReader for the combined readers and clears it for the others; clearing
CheckUpgrade clears AutoUpgrade. A setting whose field the window disables or hides
in the result is refused, e.g. Port while InterfaceMethod is File, PinPadPort for
any PIN pad but Verifone Vx670, ReaderComPort for any but Sagem, AvsRuleIndex
while UseAvsRules is False.

Where the window asks the window system, tarnctl assumes: a 1024 x 768 screen at
15 twips per pixel (stored window positions in twips are converted as on that
screen) and the stored Printer as the installed printer (a save keeps it).
)";
}

} // namespace tarn::ctl
