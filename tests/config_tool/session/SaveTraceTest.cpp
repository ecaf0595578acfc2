#include "config_tool/foundation/CProperties.h"
#include "config_tool/foundation/MRegistry.h"
#include "config_tool/model/XmlConfig.h"
#include "config_tool/session/AuditLog.h"
#include "config_tool/session/Backups.h"
#include "config_tool/session/ConfigSession.h"
#include "config_tool/session/SaveSequences.h"
#include "config_tool/session/SaveTransaction.h"
#include "platform/TextCodec.h"
#include "tests/support/Host.h"
#include "tests/support/InstallationTest.h"
#include "tests/support/RegistryProbe.h"

#include <sstream>

namespace orvant::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

Lines splitFields(const std::string& line)
{
    Lines fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) {
        fields.push_back(field);
    }
    return fields;
}

// Takes a quoted value back: (none) or "text" with the escapes quoteValue writes.
std::optional<std::string> unquote(const std::string& text)
{
    if (text == "(none)") {
        return std::nullopt;
    }
    std::string value;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        if (text[i] != '\\') {
            value += text[i];
            continue;
        }
        const char escaped = text[++i];
        if (escaped == 'x') {
            value += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            value += escaped == 't' ? '\t' : escaped == 'r' ? '\r' : escaped == 'n' ? '\n' : escaped;
        }
    }
    return value;
}

class SaveTraceTest : public InstallationTest
{
protected:
    void start(bool xmlMode)
    {
        copyData("session/installation");
        makeInstanceFolders(1);
        writeMode(xmlMode);
        startUp(session);
    }

    // A few edits of the kinds a save writes differently: XML elements, registry values, property keys.
    void edit(const std::string& timeout)
    {
        session.instances[1].timeout = timeout;
        session.instances[1].pinpad = "Verifone Vx670";
        session.common.hblHost = "10.0.0." + timeout;
    }

    // The audit log's lines, split into their eight fields.
    std::vector<Lines> auditLog() const
    {
        std::vector<Lines> lines;
        if (!exists("logs/configuration-audit.log")) {
            return lines;
        }
        const std::string text = read("logs/configuration-audit.log");
        for (const auto line : tarn::CProperties::splitLines(text)) {
            lines.push_back(splitFields(platform::ansiToUtf8(line)));
        }
        return lines;
    }

    // What a location holds now for one setting, read as the engine would read it.
    std::optional<std::string> valueNow(const std::string& location, int instance, const std::string& setting) const
    {
        if (location.rfind("HKEY_", 0) == 0) {
            const auto hive = location.rfind("HKEY_LOCAL_MACHINE", 0) == 0 ? platform::Hive::LocalMachine
                                                                           : platform::Hive::CurrentUser;
            const auto value = readRegistryValue(hive, location.substr(location.find('\\') + 1), setting);
            return value ? std::optional(platform::ansiToUtf8(value->bytes)) : std::nullopt;
        }
        if (location.ends_with(".xml")) {
            tarn::XmlConfig::loadXmlConfig(location);
            const std::string value = tarn::XmlConfig::xmlGetValue(setting, instance, "\x01");
            return value == "\x01" ? std::nullopt : std::optional(value);
        }
        tarn::CProperties store;
        store.load(location);
        const auto property = store.getProperty(setting);
        return property ? std::optional(property->value) : std::nullopt;
    }

    tarn::ConfigSession session;
};

// The dry run runs the whole save and writes nothing; what it shows is exactly what the save then writes,
// file by file, and what the audit log then records.
TEST_F(SaveTraceTest, ADryRunShowsExactlyWhatTheSaveThenMakesAndWritesNothing)
{
    for (const bool xmlMode : { false, true }) {
        SCOPED_TRACE(xmlMode ? "xml mode" : "registry mode");
        start(xmlMode);
        edit(xmlMode ? "41" : "42");
        const auto before = snapshot(Trace::Included);
        const std::string storedHost = tarn::XmlConfig::xmlGetValue("HBLHost", 0, "<absent>");
        Lines shown;
        std::set<std::string> shownFiles;
        {
            tarn::SaveTransaction dryRun(tarn::SaveTransaction::Kind::DryRun);
            EXPECT_TRUE(tarn::runOkSequence(session));
            tarn::FailedWrites failures;
            dryRun.finish(failures);
            for (const auto& change : dryRun.changes().shown) {
                shown.push_back(tarn::dryRunLine(change));
                if (change.location.rfind("HKEY_", 0) != 0) {
                    shownFiles.insert(change.location);
                }
            }
        }
        EXPECT_TRUE(sameTree(before, snapshot(Trace::Included)));
        EXPECT_EQ(tarn::XmlConfig::xmlGetValue("HBLHost", 0, "<absent>"), storedHost) << "the document as on disk";
        ASSERT_FALSE(shown.empty());

        const auto logged = auditLog().size();
        EXPECT_TRUE(tarn::runOkSequence(session));
        std::set<std::string> written;
        for (const auto& [path, bytes] : changedFiles(before, snapshot())) {
            if (path.find("ORVANT/") != std::string::npos) {
                std::string stored = "C:\\ORVANT\\" + path.substr(path.find("ORVANT/") + 7);
                std::replace(stored.begin(), stored.end(), '/', '\\');
                written.insert(stored);
            }
        }
        EXPECT_EQ(written, shownFiles);
        Lines recorded;
        const auto log = auditLog();
        for (std::size_t i = logged; i < log.size(); ++i) {
            ASSERT_EQ(log[i].size(), 8u);
            EXPECT_EQ(log[i][1], "TarnConfig") << "the program";
            EXPECT_EQ(log[i][2], tarn::auditIdentity().user) << "the user";
            recorded.push_back(log[i][5] + "\t" + log[i][4] + "\t" + log[i][6] + "\t" + log[i][7]);
        }
        EXPECT_EQ(recorded, shown);
        EXPECT_EQ(tarn::listBackups().size(), xmlMode ? 2u : 1u);
    }
}

// Applying the logged changes in order to the values before the first save gives the values after the last.
TEST_F(SaveTraceTest, TheAuditLogReplaysToTheFinalValues)
{
    start(false);
    std::map<std::tuple<std::string, int, std::string>, std::optional<std::string>> replayed;
    for (const auto* timeout : { "41", "42", "43" }) {
        edit(timeout);
        session.instances[0].receiptWidth = std::string("3") + timeout[1];
        EXPECT_TRUE(tarn::runOkSequence(session));
    }
    const auto log = auditLog();
    ASSERT_GT(log.size(), 20u);
    for (const auto& line : log) {
        ASSERT_EQ(line.size(), 8u) << ::testing::PrintToString(line);
        const auto key = std::make_tuple(line[5], std::stoi(line[4]), line[6]);
        const auto arrow = line[7].find(" -> ");
        const auto old = unquote(line[7].substr(0, arrow));
        if (replayed.count(key)) {
            EXPECT_EQ(replayed[key], old) << "each change starts where the last ended: " << line[5] << " " << line[6];
        }
        replayed[key] = unquote(line[7].substr(arrow + 4));
    }
    for (const auto& [key, value] : replayed) {
        const auto& [location, instance, setting] = key;
        EXPECT_EQ(valueNow(location, instance, setting), value) << location << " " << setting;
    }
}

// A save whose backup cannot be written changes nothing, in the registry neither, and says which folder.
TEST_F(SaveTraceTest, ABackupThatCannotBeWrittenFailsTheSaveBeforeAnythingChanges)
{
    ORVANT_SKIP_UNLESS(host::kReadOnlyFolders);
    start(false);
    fs::create_directories(native("backups"));
    makeReadOnly(native("backups"));
    edit("44");
    const auto before = snapshot(Trace::Included);
    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_TRUE(sameTree(before, snapshot(Trace::Included)));
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().find("C:\\ORVANT\\backups"), std::string::npos) << ui.messages.back();
}

// A log that cannot be written fails the save's report, not the save.
TEST_F(SaveTraceTest, AnAuditLogThatCannotBeWrittenIsReportedAndTheSaveStands)
{
    start(true);
    write("logs/configuration-audit.log", "");
    makeReadOnly(native("logs/configuration-audit.log"));
    edit("45");
    EXPECT_FALSE(tarn::runOkSequence(session));
    EXPECT_EQ(storedValue("Timeout", 1), "45");
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_NE(ui.messages.back().find("C:\\ORVANT\\logs\\configuration-audit.log"), std::string::npos);
    EXPECT_EQ(tarn::listBackups().size(), 1u);
}

TEST_F(SaveTraceTest, TheNewestTwentyBackupsAreKeptAndAnUnchangedSaveLeavesNone)
{
    start(true);
    std::vector<std::string> first;
    for (int n = 0; n < tarn::kBackupsKept + 2; ++n) {
        if (n == tarn::kBackupsKept) {
            first = tarn::listBackups();
        }
        edit(std::to_string(20 + n));
        EXPECT_TRUE(tarn::runApplySequence(session));
    }
    auto ids = tarn::listBackups();
    ASSERT_EQ(ids.size(), std::size_t(tarn::kBackupsKept));
    EXPECT_EQ(std::vector(first.begin() + 2, first.end()), std::vector(ids.begin(), ids.end() - 2))
        << "the two oldest went";
    tarn::Backup newest;
    std::string error;
    ASSERT_TRUE(tarn::readBackup(ids.back(), newest, error)) << error;
    EXPECT_EQ(newest.program, "TarnConfig");

    const auto before = snapshot(Trace::Included);
    EXPECT_TRUE(tarn::runApplySequence(session));
    EXPECT_TRUE(sameTree(before, snapshot(Trace::Included)));
}

// A value written twice in one save is one change, from what it held before the save to what it holds
// after; written back, it is none. A dry run reads the registry as it was.
TEST_F(SaveTraceTest, TheJournalKeepsTheValueBeforeTheSaveAndADryRunWritesNoValue)
{
    const auto timeout = [] { return kelbrinValue(platform::Hive::CurrentUser, "Harbell", "Timeout"); };
    tarn::MRegistry::writeRegistryString("Kelbrin", "Harbell", "Timeout", "30");
    {
        tarn::SaveTransaction save;
        for (const auto* value : { "31", "32" }) {
            tarn::MRegistry::writeRegistryString("Kelbrin", "Harbell", "Timeout", value);
        }
        tarn::MRegistry::writeRegistryString("Kelbrin", "Harbell", "Port", "1");
        tarn::MRegistry::writeRegistryString("Kelbrin", "Harbell", "Port", "1");
        const auto changes = tarn::ChangeJournal::current()->registryChanges();
        ASSERT_EQ(changes.size(), 4u) << "two values in two hives";
        EXPECT_EQ(changes[0].before, (tarn::RegistryData { platform::kRegSz, { '3', '0' } }));
        EXPECT_EQ(changes[0].after, (tarn::RegistryData { platform::kRegSz, { '3', '2' } }));
        tarn::MRegistry::writeRegistryString("Kelbrin", "Harbell", "Timeout", "30");
        EXPECT_EQ(tarn::ChangeJournal::current()->registryChanges().size(), 2u) << "Timeout is back as it was";
    }
    EXPECT_EQ(timeout(), "30") << "an unfinished save writes nothing";
    tarn::SaveTransaction dryRun(tarn::SaveTransaction::Kind::DryRun);
    tarn::MRegistry::writeRegistryString("Kelbrin", "Harbell", "Timeout", "33");
    EXPECT_EQ(timeout(), "30");
    EXPECT_EQ(tarn::ChangeJournal::current()->registryChanges().size(), 2u);
}

// Registry values go back exactly: any type, names with quotes and backslashes, the default value, and
// values and keys the save created.
TEST(RegistryBackupTest, TheTextPutsBackEveryValueExactly)
{
    using tarn::RegistryData;
    const std::vector<tarn::RegistryValueChange> changes {
        { platform::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell", "Timeout", false, RegistryData { 1, { '3', '0' } },
          std::nullopt },
        { platform::Hive::LocalMachine, "SOFTWARE\\Kelbrin\\Harbell", "say \"\\hi\"", false,
          RegistryData { 3, { 0, 0xff, '\r', '\n' } }, std::nullopt },
        { platform::Hive::LocalMachine, "SOFTWARE\\Kelbrin\\Harbell", "", false, RegistryData { 4, { 1, 0, 0, 0 } },
          std::nullopt },
        { platform::Hive::CurrentUser, "SOFTWARE\\Kelbrin\\Harbell_02", "Port", true, std::nullopt, std::nullopt },
    };
    std::vector<tarn::RegistryValueChange> read;
    std::string error;
    ASSERT_TRUE(tarn::parseRegistryBackup(tarn::registryBackupText(changes), read, error)) << error;
    ASSERT_EQ(read.size(), changes.size());
    for (std::size_t i = 0; i < read.size(); ++i) {
        EXPECT_EQ(read[i].hive, changes[i].hive);
        EXPECT_EQ(read[i].keyPath, changes[i].keyPath);
        EXPECT_EQ(read[i].valueName, changes[i].valueName);
        EXPECT_EQ(read[i].before, changes[i].before);
        EXPECT_EQ(read[i].keyCreated, changes[i].keyCreated);
    }
    EXPECT_FALSE(
        tarn::parseRegistryBackup("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"x\"=hex(1):3\r\n", read, error));
}

TEST(ChangeSetTest, QuotedValuesNeverSpanALineOrATab)
{
    EXPECT_EQ(tarn::quoteValue(std::nullopt), "(none)");
    EXPECT_EQ(tarn::quoteValue(std::string("a\\b\"c\td\r\n\x01\x7f£")), R"("a\\b\"c\td\r\n\x01\x7f£")");
}

} // namespace
} // namespace orvant::test
