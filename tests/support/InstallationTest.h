#pragma once

#include "tests/support/Installation.h"
#include "tests/support/ProcessState.h"

#include <gtest/gtest.h>

namespace orvant::test {

namespace detail {

// Comes first among the fixture's bases, so that the folder exists before the installation in it.
struct OwnTestFolder
{
    TestFolder folder;
};

} // namespace detail

// A test of the configuration tool in its own folder: the installation at C:\ORVANT (its members are
// the fixture's), the process-wide state reset, and every message and question recorded in `ui`.
class InstallationTest : public ::testing::Test, protected detail::OwnTestFolder, public Installation
{
protected:
    InstallationTest()
        : Installation(folder)
    {
    }

    ProcessStateGuard process;
    FakeUi& ui = process.ui;
};

} // namespace orvant::test
