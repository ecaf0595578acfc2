#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarn::ComPortIterator {

constexpr std::int16_t kFirstComPort = 1;
constexpr std::int16_t kLastComPort = 16;

// Whether the serial device COMn can be opened; a port another program holds open still counts.
bool comPortExists(std::int16_t n);

// "COM1" ... "COM16", only the ports that exist, in ascending order.
std::vector<std::string> existingComPorts();

} // namespace tarn::ComPortIterator
