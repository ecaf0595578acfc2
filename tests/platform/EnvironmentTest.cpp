#include "platform/Environment.h"

#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace orvant::platform {
namespace {

using test::ScopedEnv;

TEST(Environment, VariablesAreSetAndReadWithoutRegardToCase)
{
    const ScopedEnv alpha("ORVANT_T_ALPHA", std::string("alpha"));
    EXPECT_EQ(getEnvironmentVariable("orvant_t_Alpha"), "alpha");
    EXPECT_TRUE(setEnvironmentVariable("ORVANT_T_EMPTY", std::string()));
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_EMPTY"), "");
    EXPECT_TRUE(setEnvironmentVariable("ORVANT_T_EMPTY", std::nullopt));
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_EMPTY"), std::nullopt);
    EXPECT_EQ(getEnvironmentVariable(""), std::nullopt);
    EXPECT_FALSE(setEnvironmentVariable("ORVANT_T=X", std::string("y")));
}

// On Windows these are ExpandEnvironmentStringsA's own answers; on POSIX the platform layer's rules.
TEST(Environment, ExpandsPercentReferencesAsWindowsDoes)
{
    const ScopedEnv alpha("ORVANT_T_ALPHA", std::string("alpha"));
    const ScopedEnv beta("ORVANT_T_BETA", std::string("beta"));
    const ScopedEnv undefined("ORVANT_T_UNDEF", nullptr);
    const ScopedEnv empty("ORVANT_T_EMPTY", std::string());
    const ScopedEnv indirect("ORVANT_T_INDIRECT", std::string("x%ORVANT_T_ALPHA%y"));
    const std::pair<const char*, const char*> cases[] = {
        { "x%orvant_t_alpha%y", "xalphay" },
        { "[%ORVANT_T_EMPTY%]", "[]" },
        { "%ORVANT_T_UNDEF%\\BIN;%ORVANT_T_ALPHA%\\BIN;", "%ORVANT_T_UNDEF%\\BIN;alpha\\BIN;" },
        { "", "" },
        { "%ORVANT_T_ALPHA%%ORVANT_T_BETA%", "alphabeta" },
        // Unpaired and doubled signs stay.
        { "50%", "50%" },
        { "%ORVANT_T_ALPHA", "%ORVANT_T_ALPHA" },
        { "%%", "%%" },
        { "%ORVANT_T_ALPHA%%", "alpha%" },
        // Values are not expanded again.
        { "-%ORVANT_T_INDIRECT%-", "-x%ORVANT_T_ALPHA%y-" },
    };
    for (const auto& [text, expanded] : cases) {
        EXPECT_EQ(expandEnvironmentStrings(text), expanded) << text;
    }
}

} // namespace
} // namespace orvant::platform
