// Stand-in for a program started by the platform layer: writes the folder it runs in and its
// arguments, one a line, into the file named by ORVANT_REPORT_FILE (beside it first, then renamed, so
// that a reader never sees half of it), then sleeps ORVANT_REPORT_SLEEP_MS milliseconds if asked to.

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

int main(int argc, char** argv)
{
    const std::string report = std::getenv("ORVANT_REPORT_FILE") ? std::getenv("ORVANT_REPORT_FILE") : "report.txt";
    {
        std::ofstream out(report + ".part", std::ios::binary);
        out << std::filesystem::current_path().string() << "\n";
        for (int i = 1; i < argc; ++i) {
            out << argv[i] << "\n";
        }
    }
    std::filesystem::rename(report + ".part", report);
    const char* sleep = std::getenv("ORVANT_REPORT_SLEEP_MS");
    std::this_thread::sleep_for(std::chrono::milliseconds(sleep ? std::atol(sleep) : 0));
}
