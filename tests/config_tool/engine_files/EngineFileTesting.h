#pragma once

#include "config_tool/foundation/FailedWrites.h"
#include "tests/support/TestFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace tarn::test {

// Expected files are written as raw literals with "\n"; the system writes CR LF. A leading newline
// (right after the opening of the literal) is not part of the file.
inline std::string crlf(std::string_view text)
{
    if (!text.empty() && text.front() == '\n') {
        text.remove_prefix(1);
    }
    std::string out;
    for (const char c : text) {
        if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

// The properties folder "C:\ORVANT" as the tests type it, and where it lies in the test folder.
inline constexpr const char* kPropertiesFolder = "C:\\ORVANT";

class EngineFileTest : public ::testing::Test
{
protected:
    orvant::test::TestFolder m_folder;

    // Relative to the test folder, for an instance folder below C:\ORVANT.
    static std::string onDisk(std::string_view relative) { return "drive_c/ORVANT/" + std::string(relative); }

    void writeFile(std::string_view relative, const std::string& bytes) const
    {
        m_folder.write(onDisk(relative), bytes);
    }
    std::string readFile(std::string_view relative) const { return m_folder.read(onDisk(relative)); }
    bool fileThere(std::string_view relative) const { return m_folder.exists(onDisk(relative)); }
    void makeFolder(std::string_view relative) const
    {
        std::filesystem::create_directories(m_folder.path() / onDisk(relative));
    }

    FailedWrites m_failures;
};

} // namespace tarn::test
