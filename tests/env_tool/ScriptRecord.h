#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace varset::test {

// What a stand-in start script wrote, once it appears; empty when nothing came within the time.
inline std::string waitForRecord(const std::filesystem::path& record,
                                 std::chrono::milliseconds timeout = std::chrono::seconds(5))
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        std::ifstream in(record, std::ios::binary);
        std::string text { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
        // The script writes a whole line; a line without its end is still being written.
        if (!text.empty() && text.back() == '\n') {
            return text;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return {};
}

inline void makeExecutable(const std::filesystem::path& file)
{
    std::filesystem::permissions(file, std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec,
                                 std::filesystem::perm_options::add);
}

} // namespace varset::test
