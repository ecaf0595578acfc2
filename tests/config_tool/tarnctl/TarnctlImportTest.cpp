#include "platform/FileSystem.h"
#include "tests/config_tool/tarnctl/TarnctlRunner.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace orvant::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Json = nlohmann::ordered_json;

constexpr int kChanged = 10;

// The instance and setting of each audit line from the line `from` on (INSTANCE and SETTING fields).
std::vector<std::pair<std::string, std::string>> loggedSettings(const std::string& log, std::size_t from)
{
    std::vector<std::pair<std::string, std::string>> settings;
    std::istringstream lines(log);
    std::size_t number = 0;
    for (std::string line; std::getline(lines, line); ++number) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');) {
            fields.push_back(field);
        }
        if (number >= from && fields.size() == 8) {
            settings.emplace_back(fields[4], fields[6]);
        }
    }
    return settings;
}

std::size_t lineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class TarnctlImportTest : public TarnctlTest
{
protected:
    // Documents are kept outside the test's folder, which the tests compare before and after a run.
    const std::filesystem::path documents = platform::createTemporaryFolder("orvant-import-");

    TarnctlImportTest()
    {
        // As the installation is after its first save, so that a save of the same values changes nothing.
        EXPECT_EQ(run({ "--password-stdin", "apply" }).status, 0);
    }
    ~TarnctlImportTest() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(documents, ignored);
    }

    Json exported() const
    {
        const TarnctlRun result = run({ "--password-stdin", "export" });
        EXPECT_EQ(result.status, 0) << result.err;
        return Json::parse(result.out);
    }

    // An import of the document, given as a file outside the installation.
    TarnctlRun import(const std::string& document, const std::vector<std::string>& options = {}) const
    {
        const auto file = documents / "document.json";
        writeFile(file, document);
        std::vector<std::string> line { "--password-stdin", "--changed-exit", std::to_string(kChanged) };
        line.insert(line.end(), options.begin(), options.end());
        line.insert(line.end(), { "import", file.string() });
        return run(line);
    }
};

TEST_F(TarnctlImportTest, TheExportedDocumentImportsWithoutAChange)
{
    const Json document = exported();
    EXPECT_EQ(document["version"], 1);
    EXPECT_EQ(document["installation"]["Configuration"], "xml");
    EXPECT_EQ(document["instances"]["1"]["PinPad"], "Dione xtreme");
    EXPECT_FALSE(document["instances"]["1"].contains("NextReceiptNumber")) << "the engine keeps it";
    EXPECT_FALSE(document["instances"]["1"].contains("HBLHost")) << "installation-wide";

    const auto before = installation.snapshot(Trace::Included);
    // From standard input; the password then comes from a file.
    const auto password = documents / "password";
    writeFile(password, std::string(Installation::kPassword) + "\n");
    const TarnctlRun result = runTarnctl(
        { "--password-file", password.string(), "--changed-exit", std::to_string(kChanged), "import", "-" },
        document.dump());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out + result.err, "");
    EXPECT_TRUE(sameTree(before, installation.snapshot(Trace::Included))) << "no backup, no audit line";
}

// Three settings edited and an instance added: the save changes exactly those, logs exactly those, and the
// same document imported again changes nothing.
TEST_F(TarnctlImportTest, AnEditedDocumentChangesWhatItEditsOnceAndAddsTheMissingInstance)
{
    Json document = exported();
    document["installation"]["HBLHost"] = "10.0.0.5";
    document["instances"]["0"]["Timeout"] = 40; // a number stands for its text
    document["instances"]["1"]["Debug"] = "True";
    document["instances"]["2"] = { { "Timeout", "50" }, { "Port", "10012" } };
    const std::string log = installation.read("logs/configuration-audit.log");

    const auto before = installation.snapshot(Trace::Included);
    TarnctlRun result = import(document.dump(), { "--dry-run" });
    EXPECT_EQ(result.status, kChanged) << result.err;
    EXPECT_THAT(result.out, HasSubstr("\t1\tDebug\t\"False\" -> \"True\"\n"));
    EXPECT_TRUE(sameTree(before, installation.snapshot(Trace::Included)));

    result = import(document.dump());
    EXPECT_EQ(result.status, kChanged) << result.err;
    EXPECT_EQ(installation.storedValue("HBLHost", 0), "10.0.0.5");
    EXPECT_EQ(installation.storedValue("Timeout", 0), "40");
    EXPECT_EQ(installation.storedValue("Debug", 1), "True");
    EXPECT_EQ(installation.storedValue("Timeout", 2), "50");
    EXPECT_EQ(installation.storedValue("Port", 2), "10012");
    EXPECT_EQ(installation.storedValue("Timeout", 1), "30") << "left as it was";

    const std::string after = installation.read("logs/configuration-audit.log");
    auto logged = loggedSettings(after, lineCount(log));
    std::erase_if(logged, [](const auto& entry) { return entry.first == "2"; });
    EXPECT_THAT(logged,
                ElementsAre(std::pair<std::string, std::string>("0", ""), std::pair("0", "HBLHost"),
                            std::pair("0", "Timeout"), std::pair("1", "Debug"), std::pair("0", "ConfigHash")))
        << after;
    EXPECT_THAT(after, HasSubstr("\t2\tevent\tinstance created\t"));

    const auto imported = installation.snapshot(Trace::Included);
    result = import(document.dump());
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_TRUE(sameTree(imported, installation.snapshot(Trace::Included)));
    EXPECT_EQ(exported()["instances"]["2"]["Port"], "10012");
}

// A document with any problem is refused whole, with the JSON path of what is wrong; the instance it
// would add is not left behind either.
TEST_F(TarnctlImportTest, ADocumentWithAProblemIsRefusedWholeAndWritesNothing)
{
    const std::string adds = R"("2": {"Timeout": "50"})";
    const struct
    {
        const char* problem;
        std::string document;
        int status;
        const char* message;
    } cases[] = {
        { "unknown setting", R"({"version": 1, "instances": {"1": {"Colour": "red"}, )" + adds + "}}", 2,
          "tarnctl: /instances/1/Colour: there is no setting Colour" },
        { "refused value", R"({"version": 1, "instances": {"1": {"Port": "port"}, )" + adds + "}}", 1,
          "tarnctl: /instances/1/Port: the value must be digits only" },
        { "field the window disables", R"({"version": 1, "instances": {"1": {"InputDir": "C:\\in"}, )" + adds + "}}", 1,
          "tarnctl: /instances/1/InputDir cannot be changed" },
        { "refused by the save", R"({"version": 1, "instances": {)" + adds + R"(, "1": {"Timeout": "5"}}})", 1,
          "Enter Correct Card Inactivity Timeout between 10 to 90" },
        { "bad JSON", R"({"version": 1, "instances": {)" + adds + "}", 2,
          "tarnctl: the document is not JSON: parse error at line 1" },
        { "wrong version", R"({"version": 2, "instances": {)" + adds + "}}", 2,
          "tarnctl: /version: version 2 is unknown" },
        { "a key twice", R"({"version": 1, "instances": {"1": {"Port": "1", "Port": "2"}, )" + adds + "}}", 2,
          "tarnctl: /instances/1/Port: the key is given twice" },
        { "a gap in the numbers", R"({"version": 1, "instances": {"3": {"Timeout": "50"}}})", 2,
          "tarnctl: /instances/3: instances are numbered without gaps" },
        { "setting in the wrong place", R"({"version": 1, "installation": {"Timeout": "50"}})", 2,
          "tarnctl: /installation/Timeout: Timeout is a setting of each instance" },
    };
    const auto before = installation.snapshot(Trace::Included);
    for (const auto& refused : cases) {
        const TarnctlRun result = import(refused.document);
        EXPECT_EQ(result.status, refused.status) << refused.problem << ": " << result.err;
        EXPECT_THAT(result.err, HasSubstr(refused.message)) << refused.problem;
        EXPECT_THAT(result.out, IsEmpty()) << refused.problem;
        EXPECT_TRUE(sameTree(before, installation.snapshot(Trace::Included))) << refused.problem;
    }
}

} // namespace
} // namespace orvant::test
