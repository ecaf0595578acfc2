#pragma once

#include <map>
#include <string>
#include <vector>

namespace tarn {

// The files a save sequence could not write. The engine files are written silently one by one; the
// sequence reports them together once, so that a failed save is never taken for a success.
struct FailedWrites
{
    std::vector<std::string> files; // stored paths (or a registry hive's name), each once, in the order they failed
    std::map<std::string, std::string> reasons; // the system's message for a failure, where it is known
    // The save stopped before it changed anything (its backup could not be written).
    bool nothingSaved = false;

    void record(const std::string& path, const std::string& reason = {})
    {
        if (!reason.empty()) {
            reasons[path] = reason;
        }
        for (const auto& f : files) {
            if (f == path) {
                return;
            }
        }
        files.push_back(path);
    }
    bool empty() const { return files.empty(); }
};

} // namespace tarn
