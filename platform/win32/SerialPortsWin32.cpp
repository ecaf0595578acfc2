#include "platform/SerialPorts.h"

#include <string>
#include <windows.h>

namespace orvant::platform {

bool comPortExists(int n)
{
    if (n < 1 || n > 16) {
        return false;
    }
    // No access asked for: a port that another program holds open still counts.
    const std::string device = "\\\\.\\COM" + std::to_string(n);
    const HANDLE port = CreateFileA(device.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(port);
    return true;
}

} // namespace orvant::platform
