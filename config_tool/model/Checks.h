#pragma once

#include "config_tool/model/CInstanceData.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarn {

// Validation run by the save. Each check returns true when the data is acceptable; otherwise it shows
// its message through Globals::ui() (a plain message box) and returns false.

// The cross-instance uniqueness checks. Each walks the pairs (i, j), 0 <= i < j <= last index, i
// ascending and for each i the j ascending, and stops at the first clash, e.g.
// "Receipt Directory for instance 1 is also used by instance 2. Please provide another value."
// Directories compare in upper case with one trailing backslash removed; ports compare as stored.
bool checkReceiptDirUnique(const std::vector<CInstanceData>& instances); // all pairs
bool checkReceiptPortUnique(const std::vector<CInstanceData>& instances); // pairs both sending receipts
bool checkInterfacePortUnique(const std::vector<CInstanceData>& instances); // pairs both on Socket (0)
bool checkInputDirUnique(const std::vector<CInstanceData>& instances); // pairs both on File (1)
bool checkOutputDirUnique(const std::vector<CInstanceData>& instances); // pairs both on File (1)

// The card inactivity timeout: a number from 10 to 90 inclusive, fractions allowed. Refused with
// "Enter Correct Card Inactivity Timeout between 10 to 90,Then Press Ok (Do not press Apply Button)".
constexpr int kCardTimeoutLeast = 10;
constexpr int kCardTimeoutMost = 90;
bool checkCardTimetiout(const std::string& text);

// "default instance" for 0, "instance " + the plain decimal index otherwise ("instance 3").
std::string getInstanceName(std::int16_t index);

} // namespace tarn
