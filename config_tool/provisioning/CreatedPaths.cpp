#include "config_tool/provisioning/CreatedPaths.h"

#include "platform/Paths.h"

#include <filesystem>

namespace tarn {

void CreatedPaths::undo()
{
    for (auto it = m_paths.rbegin(); it != m_paths.rend(); ++it) {
        std::error_code ignored;
        // remove() takes files and empty folders only; a folder with foreign content stays.
        std::filesystem::remove(std::filesystem::path(orvant::platform::toNativePath(*it)), ignored);
    }
    m_paths.clear();
}

} // namespace tarn
