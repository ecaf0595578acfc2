// Stand-in for a program started by the platform layer: writes the folder it runs in and its
// arguments into the file named by ORVANT_REPORT_FILE, then sleeps ORVANT_REPORT_SLEEP_MS
// milliseconds if asked to. The report is written beside its final name and renamed, so a reader
// never sees half of it.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

int main(int argc, char** argv)
{
    const char* report = std::getenv("ORVANT_REPORT_FILE");
    if (!report) {
        return 2;
    }
    const std::string partial = std::string(report) + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out << std::filesystem::current_path().string() << "\n";
        for (int i = 1; i < argc; ++i) {
            out << argv[i] << "\n";
        }
    }
    std::filesystem::rename(partial, report);
    if (const char* sleep = std::getenv("ORVANT_REPORT_SLEEP_MS")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(sleep)));
    }
    return 0;
}
