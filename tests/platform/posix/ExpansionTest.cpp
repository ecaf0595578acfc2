#include "platform/Environment.h"

#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

// Windows lets the closing "%" of a name that is not defined open the next reference. Wine does not
// (it passes both signs over), so these cases run on POSIX only, against the platform layer's rules.
namespace orvant::platform {
namespace {

TEST(Expansion, ClosingSignOfAnUndefinedNameMayOpenTheNextReference)
{
    const test::ScopedEnv alpha("ORVANT_T_ALPHA", std::string("alpha"));
    const test::ScopedEnv undefined("ORVANT_T_UNDEF", nullptr);
    EXPECT_EQ(expandEnvironmentStrings("%ORVANT_T_UNDEF%ORVANT_T_ALPHA%"), "%ORVANT_T_UNDEFalpha");
    EXPECT_EQ(expandEnvironmentStrings("100% of %ORVANT_T_ALPHA%"), "100% of alpha");
    EXPECT_EQ(expandEnvironmentStrings("%%ORVANT_T_ALPHA%%"), "%alpha%");
}

} // namespace
} // namespace orvant::platform
