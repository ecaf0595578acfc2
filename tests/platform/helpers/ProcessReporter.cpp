// Stand-in for a program started by the platform layer: writes what it was started with into the
// file named by ORVANT_REPORT_FILE, then sleeps ORVANT_REPORT_SLEEP_MS milliseconds if asked to.
// The report is written beside its final name and renamed, so a reader never sees half of it.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv)
{
    const char* report = std::getenv("ORVANT_REPORT_FILE");
    if (!report) {
        return 2;
    }
    // Input from /dev/null is readable at once and ends at once; a terminal or pipe is not.
    pollfd input { 0, POLLIN, 0 };
    char byte = 0;
    const bool inputAtEnd = ::poll(&input, 1, 0) == 1 && ::read(0, &byte, 1) == 0;
    char cwd[4096] = {};
    if (!::getcwd(cwd, sizeof cwd)) {
        cwd[0] = '\0';
    }

    const std::string partial = std::string(report) + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << "pid=" << ::getpid() << "\n";
        out << "sid=" << ::getsid(0) << "\n";
        out << "cwd=" << cwd << "\n";
        out << "stdin=" << (inputAtEnd ? "end" : "open") << "\n";
        for (int i = 1; i < argc; ++i) {
            out << "arg=" << argv[i] << "\n";
        }
    }
    std::rename(partial.c_str(), report);

    if (const char* sleep = std::getenv("ORVANT_REPORT_SLEEP_MS")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(sleep)));
    }
    return 0;
}
