#include "tests/support/ProcessState.h"

#include "config_tool/foundation/Globals.h"
#include "config_tool/model/XmlConfig.h"

namespace orvant::test {

namespace {

void resetProcessState()
{
    tarn::XmlConfig::reset();
    tarn::Globals::reset();
}

} // namespace

ProcessStateGuard::ProcessStateGuard()
{
    resetProcessState();
    tarn::Globals::setUi(&ui);
}

ProcessStateGuard::~ProcessStateGuard()
{
    tarn::Globals::setUi(nullptr);
    resetProcessState();
}

} // namespace orvant::test
