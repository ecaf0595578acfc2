#pragma once

#include "tests/support/FakeUi.h"

namespace orvant::test {

// The configuration tool's process-wide values (Globals, the XML document) back to their start-up
// state for the life of a test, with every message and question going to `ui`.
class ProcessStateGuard
{
public:
    ProcessStateGuard();
    ~ProcessStateGuard();
    ProcessStateGuard(const ProcessStateGuard&) = delete;
    ProcessStateGuard& operator=(const ProcessStateGuard&) = delete;

    FakeUi ui;
};

} // namespace orvant::test
