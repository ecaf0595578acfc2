#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orvant::test {

// A program a test starts and watches (the built tarnctl, a helper), the same way on both sides:
// arguments go to it word for word, and its standard input, output and error are files (or the null
// device where a path is empty). CMake picks the implementation of posix/ or of win32/.
class ChildProgram
{
public:
    struct Streams
    {
        std::filesystem::path input;
        std::filesystem::path output;
        std::filesystem::path errors;
    };

    ChildProgram(const std::string& program, const std::vector<std::string>& arguments, const Streams& streams = {});
    // A program still running is killed: no test leaves one behind.
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    bool started() const;
    // Its exit status once it has ended; -1 when it did not start or was killed.
    int wait();
    // Ends it at once, as a crash or a kill from outside would, without letting it clean up.
    void kill();

private:
    std::intptr_t m_handle = -1; // a process ID on POSIX, a process handle on Windows
    bool m_killed = false;
    int m_status = -1;
    bool m_ended = false;
};

// Runs the program to its end and gives its exit status.
inline int runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const ChildProgram::Streams& streams)
{
    return ChildProgram(program, arguments, streams).wait();
}

// What a program printed, as text with "\n" line ends: on Windows the C runtime prints a console
// program's "\n" as CR LF, as every Windows console program does.
std::string consoleText(std::string printed);

} // namespace orvant::test
