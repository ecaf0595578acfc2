#pragma once

#include <string>
#include <vector>

namespace tarn {

// The files a save sequence could not write. The engine files are written silently one by one; the
// sequence reports them together once, so that a failed save is never taken for a success.
struct FailedWrites
{
    std::vector<std::string> files; // stored paths, each once, in the order they failed

    void record(const std::string& path)
    {
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
