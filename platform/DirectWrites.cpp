#include "platform/DirectWrites.h"

namespace orvant::platform {

FileResult writeNow(std::string_view path, std::string_view bytes, bool ownerOnly)
{
    // Deferred writes never wait for a batch.
    return writeFileAtomically(path, bytes, ownerOnly, Durability::Deferred);
}

std::vector<std::string> flushNow(const std::vector<std::string>& storedPaths)
{
    return detail::flushFiles(storedPaths);
}

} // namespace orvant::platform
