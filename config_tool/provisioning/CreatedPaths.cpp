#include "config_tool/provisioning/CreatedPaths.h"

#include "platform/FileSystem.h"

namespace tarn {

void CreatedPaths::undo()
{
    for (auto it = m_paths.rbegin(); it != m_paths.rend(); ++it) {
        // Files and empty folders only: a folder with foreign content stays. Within a write batch a
        // path the attempt created is only dropped from the batch; nothing reaches the disk.
        orvant::platform::removePath(*it);
    }
    m_paths.clear();
}

} // namespace tarn
