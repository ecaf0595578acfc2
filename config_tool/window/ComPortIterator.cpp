#include "config_tool/window/ComPortIterator.h"

#include "platform/SerialPorts.h"

namespace tarn::ComPortIterator {

bool comPortExists(std::int16_t n)
{
    return orvant::platform::comPortExists(n);
}

std::vector<std::string> existingComPorts()
{
    std::vector<std::string> ports;
    for (std::int16_t n = kFirstComPort; n <= kLastComPort; ++n) {
        if (comPortExists(n)) {
            ports.push_back("COM" + std::to_string(n));
        }
    }
    return ports;
}

} // namespace tarn::ComPortIterator
