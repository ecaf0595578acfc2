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
};

TEST_F(EnvironmentTest, ReadsVariablesWithoutRegardToCase)
{
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_ALPHA"), "alpha");
    EXPECT_EQ(getEnvironmentVariable("orvant_t_Alpha"), "alpha");
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_UNDEF"), std::nullopt);
    EXPECT_EQ(getEnvironmentVariable(""), std::nullopt);
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_ALPHA=alpha"), std::nullopt);
}

TEST_F(EnvironmentTest, ExactCaseWinsOverAnotherSpelling)
{
    const ScopedEnv upper("ORVANT_T_MIXED", std::string("upper"));
    const ScopedEnv mixed("Orvant_T_Mixed", std::string("mixed"));
    EXPECT_EQ(getEnvironmentVariable("Orvant_T_Mixed"), "mixed");
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_MIXED"), "upper");
}

TEST_F(EnvironmentTest, EmptyValueIsDefined)
{
    const ScopedEnv empty("ORVANT_T_EMPTY", std::string());
    EXPECT_EQ(getEnvironmentVariable("ORVANT_T_EMPTY"), "");
    EXPECT_EQ(expandEnvironmentStrings("[%ORVANT_T_EMPTY%]"), "[]");
}

TEST_F(EnvironmentTest, ExpandsDefinedAndKeepsUndefinedReferences)
{
    EXPECT_EQ(expandEnvironmentStrings("%ORVANT_T_ALPHA%"), "alpha");
    EXPECT_EQ(expandEnvironmentStrings("x%orvant_t_alpha%y"), "xalphay");
    EXPECT_EQ(expandEnvironmentStrings("%ORVANT_T_UNDEF%"), "%ORVANT_T_UNDEF%");
    EXPECT_EQ(expandEnvironmentStrings("%ORVANT_T_UNDEF%\\BIN;%ORVANT_T_ALPHA%\\BIN;"),
              "%ORVANT_T_UNDEF%\\BIN;alpha\\BIN;");
    EXPECT_EQ(expandEnvironmentStrings("no references"), "no references");
    EXPECT_EQ(expandEnvironmentStrings(""), "");
}

TEST_F(EnvironmentTest, ExpandsAdjacentReferences)
{
    EXPECT_EQ(expandEnvironmentStrings("%ORVANT_T_ALPHA%%ORVANT_T_BETA%"), "alphabeta");
    EXPECT_EQ(expandEnvironmentStrings("%ORVANT_T_ALPHA%%ORVANT_T_ALPHA%;"), "alphaalpha;");
}

TEST_F(EnvironmentTest, KeepsUnpairedAndDoubledPercentSigns)
{
    EXPECT_EQ(expandEnvironmentStrings("50%"), "50%");
    EXPECT_EQ(expandEnvironmentStrings("%"), "%");
    EXPECT_EQ(expandEnvironmentStrings("%ORVANT_T_ALPHA"), "%ORVANT_T_ALPHA");
    EXPECT_EQ(expandEnvironmentStrings("%%"), "%%");
    EXPECT_EQ(expandEnvironmentStrings("%%%"), "%%%");
    EXPECT_EQ(expandEnvironmentStrings("%ORVANT_T_ALPHA%%"), "alpha%");
}

// The closing sign of an undefined name may open the next reference.
TEST_F(EnvironmentTest, UndefinedNameLeavesItsClosingSignToTheNextReference)
{
    EXPECT_EQ(expandEnvironmentStrings("%ORVANT_T_ALPHA%ORVANT_T_UNDEF%"), "alphaORVANT_T_UNDEF%");
    EXPECT_EQ(expandEnvironmentStrings("%ORVANT_T_UNDEF%ORVANT_T_BETA%"), "%ORVANT_T_UNDEFbeta");
    EXPECT_EQ(expandEnvironmentStrings("100% of %ORVANT_T_ALPHA%"), "100% of alpha");
    EXPECT_EQ(expandEnvironmentStrings("%%ORVANT_T_ALPHA%%"), "%alpha%");
}

TEST_F(EnvironmentTest, ValuesAreNotExpandedAgain)
{
    const ScopedEnv indirect("ORVANT_T_INDIRECT", std::string("x%ORVANT_T_ALPHA%y"));
    EXPECT_EQ(expandEnvironmentStrings("-%ORVANT_T_INDIRECT%-"), "-x%ORVANT_T_ALPHA%y-");
}

} // namespace
} // namespace orvant::platform
