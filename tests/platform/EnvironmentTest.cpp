#include "platform/Environment.h"

#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

namespace orvant::platform {
namespace {

using test::ScopedEnv;

class EnvironmentTest : public ::testing::Test
{
protected:
    test::TestFolder m_folder;
    ScopedEnv m_alpha { "ORVANT_T_ALPHA", std::string("alpha") };
    ScopedEnv m_beta { "ORVANT_T_BETA", std::string("beta") };
    ScopedEnv m_undefined { "ORVANT_T_UNDEF", nullptr };
    ScopedEnv m_empty { "ORVANT_T_EMPTY", std::string() };
    ScopedEnv m_indirect { "ORVANT_T_INDIRECT", std::string("x%ORVANT_T_ALPHA%y") };
};

TEST_F(EnvironmentTest, ReadsVariablesWithoutRegardToCaseButExactCaseWins)
{
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_ALPHA"), "alpha");
    EXPECT_EQ(getEnvironmentVariable("orvant_t_Alpha"), "alpha");
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_EMPTY"), "");
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_UNDEF"), std::nullopt);
    EXPECT_EQ(getEnvironmentVariable(""), std::nullopt);
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_ALPHA=alpha"), std::nullopt);

    const ScopedEnv upper("ORVANT_T_MIXED", std::string("upper"));
    const ScopedEnv mixed("Orvant_T_Mixed", std::string("mixed"));
    EXPECT_EQ(getEnvironmentVariable("Orvant_T_Mixed"), "mixed");
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_MIXED"), "upper");
}

TEST_F(EnvironmentTest, ExpandsPercentReferences)
{
    const struct
    {
        const char* text;
        const char* expanded;
    } cases[] = {
        { "%ORVANT_T_ALPHA%", "alpha" },
        { "x%orvant_t_alpha%y", "xalphay" },
        { "[%ORVANT_T_EMPTY%]", "[]" },
        { "%ORVANT_T_UNDEF%", "%ORVANT_T_UNDEF%" },
        { "%ORVANT_T_UNDEF%\\BIN;%ORVANT_T_ALPHA%\\BIN;", "%ORVANT_T_UNDEF%\\BIN;alpha\\BIN;" },
        { "no references", "no references" },
        { "", "" },
        // Adjacent references.
        { "%ORVANT_T_ALPHA%%ORVANT_T_BETA%", "alphabeta" },
        { "%ORVANT_T_ALPHA%%ORVANT_T_ALPHA%;", "alphaalpha;" },
        // Unpaired and doubled signs stay.
        { "50%", "50%" },
        { "%", "%" },
        { "%ORVANT_T_ALPHA", "%ORVANT_T_ALPHA" },
        { "%%", "%%" },
        { "%%%", "%%%" },
        { "%ORVANT_T_ALPHA%%", "alpha%" },
        // The closing sign of an undefined name may open the next reference.
        { "%ORVANT_T_ALPHA%ORVANT_T_UNDEF%", "alphaORVANT_T_UNDEF%" },
        { "%ORVANT_T_UNDEF%ORVANT_T_BETA%", "%ORVANT_T_UNDEFbeta" },
        { "100% of %ORVANT_T_ALPHA%", "100% of alpha" },
        { "%%ORVANT_T_ALPHA%%", "%alpha%" },
        // Values are not expanded again.
        { "-%ORVANT_T_INDIRECT%-", "-x%ORVANT_T_ALPHA%y-" },
    };
    for (const auto& [text, expanded] : cases) {
        EXPECT_EQ(expandEnvironmentStrings(text), expanded) << text;
    }
}

} // namespace
} // namespace orvant::platform
