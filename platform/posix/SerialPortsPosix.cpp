#include "platform/AsciiText.h"
#include "platform/Environment.h"
#include "platform/SerialPorts.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__linux__)
#include <linux/serial.h>
#endif

#include <string>
#include <string_view>
#include <vector>

namespace orvant::platform {

namespace {

constexpr int kOpenFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

bool entryOpens(const std::string& path)
{
    // O_NONBLOCK so that a tty without carrier does not hang the probe.
    const int fd = ::open(path.c_str(), kOpenFlags);
    if (fd < 0) {
        return false;
    }
    struct stat info
    {
    };
    // A folder is no port; an entry without any read bit cannot be opened, for root neither.
    const bool usable
        = ::fstat(fd, &info) == 0 && !S_ISDIR(info.st_mode) && (info.st_mode & (S_IRUSR | S_IRGRP | S_IROTH)) != 0;
    ::close(fd);
    return usable;
}

// A mapping folder in the manner of Wine's dosdevices: "com3" -> /dev/ttyUSB0 and so on.
bool mappedPortExists(const std::string& folder, int n)
{
    const std::string wanted = "com" + std::to_string(n);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) {
        return false;
    }
    std::vector<std::string> candidates;
    while (const dirent* entry = ::readdir(dir)) {
        if (ascii::equalsIgnoringCase(entry->d_name, wanted)) {
            candidates.push_back(folder + "/" + entry->d_name);
        }
    }
    ::closedir(dir);
    for (const auto& candidate : candidates) {
        if (entryOpens(candidate)) {
            return true;
        }
    }
    return false;
}

// Linux creates /dev/ttyS0.. whether or not a UART sits behind them; only the driver knows.
bool uartExists(int n)
{
#if defined(__linux__)
    const std::string device = "/dev/ttyS" + std::to_string(n - 1);
    const int fd = ::open(device.c_str(), kOpenFlags);
    if (fd < 0) {
        return false;
    }
    serial_struct serial {};
    const bool real = ::ioctl(fd, TIOCGSERIAL, &serial) == 0 && serial.type != PORT_UNKNOWN;
    ::close(fd);
    return real;
#else
    (void)n;
    return false;
#endif
}

} // namespace

bool comPortExists(int n)
{
    if (n < 1 || n > 16) {
        return false;
    }
    if (auto folder = getEnvironmentVariable("ORVANT_COM_PORT_DIR"); folder && !folder->empty()) {
        struct stat info
        {
        };
        if (::stat(folder->c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
            return mappedPortExists(*folder, n);
        }
    }
    return uartExists(n);
}

} // namespace orvant::platform
