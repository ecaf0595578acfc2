#pragma once

#include <string>

namespace orvant::platform {

// Where a file about to be replaced is written first: beside it, so that the rename stays on one volume;
// named after it with a leading dot, so that neither a listing of the folder nor a save killed before its
// rename leaves anything that passes for a file of the system; with eight random letters and digits,
// different at every call. folder ends without its separator.
std::string temporaryNameBeside(const std::string& folder, char separator, const std::string& baseName);

} // namespace orvant::platform
