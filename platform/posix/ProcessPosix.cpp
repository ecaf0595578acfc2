#include "platform/Paths.h"
#include "platform/Process.h"

#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <mutex>
#include <signal.h>
#include <spawn.h>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ; // NOLINT: POSIX declares it nowhere in a header

namespace orvant::platform {

namespace {

// Splits a parameter string as CommandLineToArgvW splits the arguments after the program name:
// blanks separate words outside quotes; 2n backslashes before a quote give n backslashes and the
// quote opens or closes a quoted part; 2n+1 give n backslashes and a literal quote; backslashes
// elsewhere are literal; in a run of quotes every third one is a literal quote.
std::vector<std::string> splitCommandLine(std::string_view line)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    std::vector<std::string> words;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && isBlank(line[i])) {
            ++i;
        }
        if (i >= line.size()) {
            break;
        }
        std::string word;
        int quotes = 0; // odd while inside quotes
        std::size_t backslashes = 0;
        while (i < line.size() && !(quotes == 0 && isBlank(line[i]))) {
            const char c = line[i++];
            if (c == '\\') {
                word += c;
                ++backslashes;
                continue;
            }
            if (c != '"') {
                word += c;
                backslashes = 0;
                continue;
            }
            if (backslashes % 2 == 0) {
                word.resize(word.size() - backslashes / 2);
                ++quotes;
            } else {
                word.resize(word.size() - backslashes / 2 - 1);
                word += '"';
            }
            backslashes = 0;
            for (; i < line.size() && line[i] == '"'; ++i) {
                if (++quotes == 3) {
                    word += '"';
                    quotes = 0;
                }
            }
            if (quotes == 2) {
                quotes = 0;
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}

bool hasDrivePrefix(std::string_view word)
{
    return word.size() >= 2 && ((word[0] >= 'A' && word[0] <= 'Z') || (word[0] >= 'a' && word[0] <= 'z'))
        && word[1] == ':' && (word.size() == 2 || word[2] == '\\' || word[2] == '/');
}

// "C:\x", "C:/x", "\x", "..\x", "lib\x.jar". Options ("-Dx=C:\y") are left alone.
bool isWindowsPathWord(std::string_view word)
{
    return hasDrivePrefix(word) || (!word.empty() && word.front() != '-' && word.find('\\') != std::string_view::npos);
}

bool isRelative(std::string_view path)
{
    return !path.empty() && !hasDrivePrefix(path) && path.front() != '/' && path.front() != '\\';
}

// Converts a stored path that the child will use after changing to `folder` (native, absolute, or
// empty for the current folder): relative paths are matched against the child's folder, not ours.
std::string toChildPath(std::string_view stored, const std::string& folder)
{
    if (folder.empty() || !isRelative(stored)) {
        return toNativePath(stored);
    }
    const std::string prefix = folder.back() == '/' ? folder : folder + "/";
    std::string full = toNativePath(prefix + std::string(stored));
    if (full.compare(0, prefix.size(), prefix) == 0) {
        full.erase(0, prefix.size());
    }
    return full;
}

std::string absoluteFolder(const std::string& native)
{
    if (native.empty() || native.front() == '/') {
        return native;
    }
    std::vector<char> buffer(4096);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) {
            return native;
        }
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data()) + "/" + native;
}

struct ExitState
{
    std::mutex mutex;
    std::condition_variable changed;
    pid_t pid = 0; // 0 until the start is done, -1 when it failed
    bool exited = false;
};

// Each started child gets one thread that blocks in waitpid until the child ends: the child is
// reaped whether or not anybody still holds its handle, and waitForExit needs no polling. The
// thread exists before the child does, so a process short of threads starts nothing rather than
// leave a zombie. It is detached; if this process ends first, the child goes on under init.
class PosixStartedProgram : public StartedProgram
{
public:
    explicit PosixStartedProgram(std::shared_ptr<ExitState> state)
        : m_state(std::move(state))
    {
    }

    bool waitForExit(std::chrono::milliseconds timeout) override
    {
        std::unique_lock lock(m_state->mutex);
        return m_state->changed.wait_for(lock, timeout, [this] { return m_state->exited; });
    }

private:
    std::shared_ptr<ExitState> m_state;
};

void reap(const std::shared_ptr<ExitState>& state)
{
    std::unique_lock lock(state->mutex);
    state->changed.wait(lock, [&] { return state->pid != 0; });
    const pid_t pid = state->pid;
    if (pid < 0) {
        return;
    }
    lock.unlock();
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    lock.lock();
    state->exited = true;
    state->changed.notify_all();
}

void announce(ExitState& state, pid_t pid)
{
    const std::lock_guard lock(state.mutex);
    state.pid = pid;
    state.changed.notify_all();
}

class SpawnSettings
{
public:
    explicit SpawnSettings(const std::string& workingFolder)
    {
        ::posix_spawn_file_actions_init(&m_actions);
        ::posix_spawnattr_init(&m_attributes);
        // Nothing of ours reaches the child: no terminal input, no output into a pipe somebody
        // waits on, no inherited descriptors.
        ::posix_spawn_file_actions_addopen(&m_actions, 0, "/dev/null", O_RDONLY, 0);
        ::posix_spawn_file_actions_addopen(&m_actions, 1, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_addopen(&m_actions, 2, "/dev/null", O_WRONLY, 0);
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        ::posix_spawn_file_actions_addclosefrom_np(&m_actions, 3);
#endif
        if (!workingFolder.empty()) {
            ::posix_spawn_file_actions_addchdir_np(&m_actions, workingFolder.c_str());
        }
        sigset_t all;
        sigset_t none;
        ::sigfillset(&all);
        ::sigemptyset(&none);
        ::posix_spawnattr_setsigdefault(&m_attributes, &all);
        ::posix_spawnattr_setsigmask(&m_attributes, &none);
        // Its own session: no controlling terminal, and a hang-up or Ctrl+C meant for us does not
        // reach it.
        ::posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    }
    ~SpawnSettings()
    {
        ::posix_spawnattr_destroy(&m_attributes);
        ::posix_spawn_file_actions_destroy(&m_actions);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    const posix_spawn_file_actions_t* actions() const
    {
        return &m_actions;
    }
    const posix_spawnattr_t* attributes() const
    {
        return &m_attributes;
    }

private:
    posix_spawn_file_actions_t m_actions {};
    posix_spawnattr_t m_attributes {};
};

} // namespace

std::unique_ptr<StartedProgram> startProgram(const std::string& program, const std::string& parameters,
                                             const std::string& workingFolder, WindowMode /*mode*/)
{
    // POSIX programs have no window to show or hide: the mode matters on Windows only.
    if (program.empty()) {
        return nullptr;
    }
    const std::string folder = absoluteFolder(toNativePath(workingFolder));
    if (!folder.empty()) {
        struct stat info
        {
        };
        if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
            return nullptr; // as CreateProcess refuses a missing working folder
        }
    }

    std::string executable = toChildPath(program, folder);
    bool searchPath = false;
    if (program.find_first_of("/\\:") == std::string::npos) {
        // A bare name is looked for in the working folder first, as Windows does, then on PATH.
        const std::string local = toNativePath((folder.empty() ? absoluteFolder(".") : folder) + "/" + program);
        struct stat info
        {
        };
        if (::stat(local.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            executable = local;
        } else {
            searchPath = true;
        }
    }

    std::vector<std::string> arguments { executable };
    for (auto& word : splitCommandLine(parameters)) {
        arguments.push_back(isWindowsPathWord(word) ? toChildPath(word, folder) : std::move(word));
    }
    std::vector<char*> argv;
    for (auto& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    auto state = std::make_shared<ExitState>();
    try {
        std::thread(reap, state).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }

    const SpawnSettings settings(folder);
    pid_t pid = 0;
    // glibc's posix_spawn reports a failed chdir or exec as its result (ENOENT, EACCES, ENOEXEC),
    // so "not started" is known here, before any handle exists.
    const int error = searchPath
        ? ::posix_spawnp(&pid, executable.c_str(), settings.actions(), settings.attributes(), argv.data(), environ)
        : ::posix_spawn(&pid, executable.c_str(), settings.actions(), settings.attributes(), argv.data(), environ);
    announce(*state, error == 0 ? pid : -1);
    if (error != 0) {
        return nullptr;
    }
    return std::make_unique<PosixStartedProgram>(std::move(state));
}

} // namespace orvant::platform
