#include "tests/support/ChildProgram.h"

#include <csignal>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvant::test {

namespace {

void redirect(const std::filesystem::path& path, int flags, int target)
{
    const int file = ::open(path.empty() ? "/dev/null" : path.c_str(), flags, 0600);
    if (file >= 0) {
        ::dup2(file, target);
        ::close(file);
    }
}

} // namespace

ChildProgram::ChildProgram(const std::string& program, const std::vector<std::string>& arguments,
                           const Streams& streams)
{
    std::vector<std::string> words { program };
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        redirect(streams.input, O_RDONLY, STDIN_FILENO);
        redirect(streams.output, O_WRONLY | O_CREAT | O_TRUNC, STDOUT_FILENO);
        redirect(streams.errors, O_WRONLY | O_CREAT | O_TRUNC, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    m_handle = child;
}

ChildProgram::~ChildProgram()
{
    if (started() && !m_ended) {
        kill();
    }
}

bool ChildProgram::started() const
{
    return m_handle > 0;
}

int ChildProgram::wait()
{
    if (started() && !m_ended) {
        int raw = 0;
        ::waitpid(static_cast<pid_t>(m_handle), &raw, 0);
        m_status = WIFEXITED(raw) && !m_killed ? WEXITSTATUS(raw) : -1;
        m_ended = true;
    }
    return m_status;
}

void ChildProgram::kill()
{
    if (started() && !m_ended) {
        ::kill(static_cast<pid_t>(m_handle), SIGKILL);
        m_killed = true;
        wait();
    }
}

std::string consoleText(std::string printed)
{
    return printed;
}

} // namespace orvant::test
