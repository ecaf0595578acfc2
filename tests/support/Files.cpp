#include "tests/support/Files.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

namespace orvant::test {

namespace fs = std::filesystem;

namespace {

TreeSnapshot filesOnly(const TreeSnapshot& tree)
{
    TreeSnapshot files;
    for (const auto& [path, bytes] : tree) {
        if (!path.empty() && path.back() != '/') {
            files[path] = bytes;
        }
    }
    return files;
}

bool updatingTestData()
{
    const char* update = std::getenv("ORVANT_UPDATE_TEST_DATA");
    return update && std::string_view(update) == "1";
}

} // namespace

std::string crlf(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>() };
}

void writeFile(const fs::path& path, std::string_view bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void writeExecutable(const fs::path& path, std::string_view script)
{
    writeFile(path, script);
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
}

std::string waitForLine(const fs::path& path, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        std::string text = readFile(path);
        if (!text.empty() && text.back() == '\n') {
            return text;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return {};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

fs::path dataPath(std::string_view relative)
{
    return fs::path(ORVANT_TEST_DATA_DIR) / relative;
}

std::string dataFile(std::string_view relative)
{
    const fs::path path = dataPath(relative);
    if (!fs::is_regular_file(path)) {
        ADD_FAILURE() << "missing test data file " << path;
    }
    return readFile(path);
}

::testing::AssertionResult matchesDataFile(std::string_view actual, std::string_view relative)
{
    const fs::path path = dataPath(relative);
    if (updatingTestData()) {
        writeFile(path, actual);
        return ::testing::AssertionSuccess() << "written " << path;
    }
    const std::string expected = readFile(path);
    if (expected == actual) {
        return ::testing::AssertionSuccess();
    }
    std::size_t at = 0;
    while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) {
        ++at;
    }
    const auto around = [at](std::string_view text) {
        const std::size_t from = at > 40 ? at - 40 : 0;
        return std::string(text.substr(std::min(from, text.size()), 80));
    };
    return ::testing::AssertionFailure() << "differs from " << path << " at byte " << at << " (" << actual.size()
                                         << " bytes, expected " << expected.size() << ")\n  expected: ..."
                                         << around(expected) << "...\n  actual:   ..." << around(actual) << "...";
}

namespace {

bool isTrace(const std::string& relative)
{
    // Below the installation, whether the snapshot was taken of it or of a folder above it.
    const auto at = relative.find("ORVANT/");
    const std::string inside = at == std::string::npos ? relative : relative.substr(at + 7);
    return inside.rfind("backups", 0) == 0 || inside == "logs/" || inside == "logs/configuration-audit.log";
}

} // namespace

TreeSnapshot snapshotTree(const fs::path& folder, Trace trace)
{
    TreeSnapshot files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        const std::string relative = fs::relative(it->path(), folder).generic_string();
        if (trace == Trace::LeftOut && isTrace(relative + (it->is_directory() ? "/" : ""))) {
            continue;
        }
        if (it->is_directory()) {
            files[relative + "/"] = {};
        } else if (it->path().extension() != ".lock") {
            files[relative] = readFile(it->path());
        }
    }
    return files;
}

::testing::AssertionResult sameTree(const TreeSnapshot& before, const TreeSnapshot& after)
{
    std::string changes;
    for (const auto& [path, bytes] : after) {
        const auto old = before.find(path);
        if (old == before.end()) {
            changes += "\n  created " + path;
        } else if (old->second != bytes) {
            changes += "\n  written " + path;
        }
    }
    for (const auto& [path, bytes] : before) {
        if (!after.count(path)) {
            changes += "\n  removed " + path;
        }
    }
    if (changes.empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "the tree changed:" << changes;
}

TreeSnapshot changedFiles(const TreeSnapshot& before, const TreeSnapshot& after)
{
    TreeSnapshot changed;
    for (const auto& [path, bytes] : filesOnly(after)) {
        const auto old = before.find(path);
        if (old == before.end() || old->second != bytes) {
            changed[path] = bytes;
        }
    }
    return changed;
}

::testing::AssertionResult matchesDataTree(const TreeSnapshot& files, std::string_view relative)
{
    const TreeSnapshot actual = filesOnly(files);
    if (updatingTestData()) {
        fs::remove_all(dataPath(relative));
        for (const auto& [path, bytes] : actual) {
            writeFile(dataPath(relative) / path, bytes);
        }
        return ::testing::AssertionSuccess() << "written " << dataPath(relative);
    }
    const TreeSnapshot expected = filesOnly(snapshotTree(dataPath(relative)));
    for (const auto& [path, bytes] : actual) {
        if (!expected.count(path)) {
            return ::testing::AssertionFailure()
                << path << " was written but " << dataPath(relative) << " does not expect it";
        }
    }
    for (const auto& [path, bytes] : expected) {
        const auto found = actual.find(path);
        if (found == actual.end()) {
            return ::testing::AssertionFailure() << dataPath(relative) / path << " was not written";
        }
        if (auto result = matchesDataFile(found->second, std::string(relative) + "/" + path); !result) {
            return result;
        }
    }
    return ::testing::AssertionSuccess();
}

void makeReadOnly(const fs::path& path)
{
    constexpr auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if (fs::is_directory(path)) {
        for (const auto& entry : fs::recursive_directory_iterator(path)) {
            fs::permissions(entry.path(), writeBits, fs::perm_options::remove);
        }
    }
    fs::permissions(path, writeBits, fs::perm_options::remove);
}

void makeUnreadable(const fs::path& path)
{
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                    fs::perm_options::remove);
}

} // namespace orvant::test
