#include "env_tool/ProgramName.h"

#include <gtest/gtest.h>

namespace varset {
namespace {

TEST(ProgramNameTest, IsTheFileNameWithoutFolderAndExtension)
{
    EXPECT_EQ(programNameFromPath(R"(C:\ORVANT\Varset.exe)"), "Varset");
    EXPECT_EQ(programNameFromPath("/opt/orvant/bin/Varset"), "Varset");
    EXPECT_EQ(programNameFromPath("./setup.tool.exe"), "setup.tool");
    EXPECT_EQ(programNameFromPath("Envset"), "Envset");
}

TEST(ProgramNameTest, FallsBackToVarsetWhenThePathNamesNoFile)
{
    EXPECT_EQ(programNameFromPath(""), "Varset");
    EXPECT_EQ(programNameFromPath("/opt/orvant/bin/"), "Varset");
    EXPECT_EQ(programNameFromPath(R"(C:\ORVANT\..)"), "Varset");
}

} // namespace
} // namespace varset
