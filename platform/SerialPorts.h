#pragma once

namespace orvant::platform {

// Whether COMn (1..16; any other number: false) can be opened, as probing "\\.\COMn" with
// CreateFileA does.
// On POSIX: when ORVANT_COM_PORT_DIR names a folder (like Wine's dosdevices), the port exists when that
// folder holds an entry "comN" (any case) that can be opened; otherwise /dev/ttyS(n-1) counts only when
// it is a real UART (TIOCGSERIAL reports a type other than PORT_UNKNOWN).
bool comPortExists(int n);

} // namespace orvant::platform
