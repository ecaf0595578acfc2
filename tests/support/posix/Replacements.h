#pragma once

#include <filesystem>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

namespace orvant::test {

// The names of the files replaced in some folders (a file renamed into place), in the order the disk saw
// them replaced. POSIX only (inotify).
class Replacements
{
public:
    explicit Replacements(const std::vector<std::filesystem::path>& folders)
        : m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        for (const auto& folder : folders) {
            ::inotify_add_watch(m_fd, folder.c_str(), IN_MOVED_TO);
        }
    }
    ~Replacements() { ::close(m_fd); }
    Replacements(const Replacements&) = delete;
    Replacements& operator=(const Replacements&) = delete;

    std::vector<std::string> names() const
    {
        std::vector<std::string> seen;
        alignas(inotify_event) char buffer[4096];
        for (ssize_t length; (length = ::read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (char* at = buffer; at < buffer + length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                seen.emplace_back(event->name);
                at += sizeof(inotify_event) + event->len;
            }
        }
        return seen;
    }

private:
    int m_fd;
};

} // namespace orvant::test
