#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace tarn::ctl {

// The whole program: arguments without the program name; returns the exit status.
int run(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace tarn::ctl
