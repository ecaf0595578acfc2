#include "platform/SaveScope.h"

#include <array>
#include <cstddef>

namespace orvant::platform {

namespace {

// The tools have one window thread; a save belongs to the thread that opened it.
thread_local std::array<void*, 4> t_holders {};

void*& slot(SaveScope::Part part)
{
    return t_holders[static_cast<std::size_t>(part)];
}

} // namespace

SaveScope::SaveScope(Part part, void* object)
    : m_part(part)
{
    if (!slot(part)) {
        slot(part) = object;
        m_holds = true;
    }
}

SaveScope::~SaveScope()
{
    release();
}

void SaveScope::release()
{
    if (m_holds) {
        slot(m_part) = nullptr;
        m_holds = false;
    }
}

void* SaveScope::holder(Part part)
{
    return slot(part);
}

} // namespace orvant::platform
