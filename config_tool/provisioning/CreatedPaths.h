#pragma once

#include <string>
#include <vector>

namespace tarn {

// The files and folders one provisioning attempt created, so that a failed attempt can take them
// away again and leave the installation as it found it.
class CreatedPaths
{
public:
    void addFile(const std::string& path) { m_paths.push_back(path); }
    void addFolder(const std::string& path) { m_paths.push_back(path); }

    // Removes everything recorded, newest first. A folder is removed only when it is empty, so
    // nothing that was there before the attempt is lost.
    void undo();

private:
    std::vector<std::string> m_paths;
};

} // namespace tarn
