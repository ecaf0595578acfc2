#include "config_tool/session/ChangeSet.h"
#include "tests/config_tool/tarnctl/TarnctlRunner.h"

#include <gmock/gmock.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace orvant::test {
namespace {

using Json = nlohmann::ordered_json;

// The lines of a text output, each split at its tabs.
std::vector<std::vector<std::string>> fieldsOfLines(const std::string& text, char separator = '\t')
{
    std::vector<std::vector<std::string>> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        auto& fields = lines.emplace_back();
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, separator);) {
            fields.push_back(field);
        }
    }
    return lines;
}

// The command's --json output, parsed, beside its text output.
struct BothOutputs
{
    Json json;
    std::vector<std::vector<std::string>> text;
};

class TarnctlJsonTest : public TarnctlTest
{
protected:
    BothOutputs both(std::vector<std::string> arguments, char separator = '\t') const
    {
        const TarnctlRun text = run(arguments);
        arguments.insert(arguments.begin(), "--json");
        const TarnctlRun json = run(arguments);
        EXPECT_EQ(json.status, text.status) << json.err;
        EXPECT_TRUE(Json::accept(json.out)) << json.out;
        return { Json::parse(json.out, nullptr, false), fieldsOfLines(text.out, separator) };
    }
};

TEST_F(TarnctlJsonTest, ListGivesEachInstanceAsItsLine)
{
    const BothOutputs list = both({ "--password-stdin", "list" });
    ASSERT_EQ(list.json["instances"].size(), list.text.size());
    for (std::size_t i = 0; i < list.text.size(); ++i) {
        const Json& instance = list.json["instances"][i];
        EXPECT_THAT(list.text[i],
                    ::testing::ElementsAre(std::to_string(instance["number"].get<int>()), instance["section"],
                                           instance["pinPad"], instance["interfaceMethod"], instance["port"]));
    }
}

TEST_F(TarnctlJsonTest, ShowGivesEverySettingInOrder)
{
    const BothOutputs show = both({ "--password-stdin", "show", "Harbell_01" }, '=');
    EXPECT_EQ(show.json["instance"], 1);
    EXPECT_EQ(show.json["section"], "Harbell_01");
    std::vector<std::vector<std::string>> settings;
    for (const auto& [name, value] : show.json["settings"].items()) {
        settings.push_back({ name, value.get<std::string>() });
    }
    // A line "LogoFile=" splits into one field.
    for (auto& line : settings) {
        if (line[1].empty()) {
            line.pop_back();
        }
    }
    EXPECT_EQ(settings, show.text);
}

TEST_F(TarnctlJsonTest, VerifyGivesTheMatch)
{
    EXPECT_EQ(run({ "--password-stdin", "apply" }).status, 0);
    BothOutputs verify = both({ "verify" });
    EXPECT_EQ(verify.json["match"], true);
    EXPECT_THAT(verify.text, ::testing::ElementsAre(::testing::ElementsAre("match")));

    installation.write("properties/instance.properties", "ConfigHash=0\r\n");
    verify = both({ "verify" });
    EXPECT_EQ(verify.json["match"], false);
    EXPECT_THAT(verify.text, ::testing::ElementsAre(::testing::ElementsAre("mismatch")));
}

TEST_F(TarnctlJsonTest, BackupsGivesEachBackupAsItsLine)
{
    EXPECT_EQ(run({ "--password-stdin", "apply" }).status, 0);
    EXPECT_EQ(run({ "--password-stdin", "set", "1", "Timeout=45" }).status, 0);
    const BothOutputs backups = both({ "--password-stdin", "backups" });
    ASSERT_EQ(backups.json["backups"].size(), 2u);
    ASSERT_EQ(backups.text.size(), 2u);
    for (std::size_t i = 0; i < backups.text.size(); ++i) {
        const Json& backup = backups.json["backups"][i];
        EXPECT_THAT(backups.text[i],
                    ::testing::ElementsAre(backup["id"], backup["time"], backup["program"], backup["user"],
                                           backup["osUser"], std::to_string(backup["files"].get<int>()),
                                           std::to_string(backup["registryValues"].get<int>())));
    }
}

TEST_F(TarnctlJsonTest, ADryRunGivesEachChangeAsItsLine)
{
    const BothOutputs dryRun = both({ "--password-stdin", "--dry-run", "set", "1", "Timeout=45", "LogoFile=" });
    ASSERT_EQ(dryRun.json["changes"].size(), dryRun.text.size());
    ASSERT_FALSE(dryRun.text.empty());
    // As the text shows a value: quoted and escaped.
    const auto quoted = [](const Json& value) {
        return tarn::quoteValue(value.is_null() ? std::nullopt : std::optional(value.get<std::string>()));
    };
    for (std::size_t i = 0; i < dryRun.text.size(); ++i) {
        const Json& change = dryRun.json["changes"][i];
        EXPECT_THAT(dryRun.text[i],
                    ::testing::ElementsAre(change["location"], std::to_string(change["instance"].get<int>()),
                                           change["setting"], quoted(change["old"]) + " -> " + quoted(change["new"])));
    }
}

} // namespace
} // namespace orvant::test
