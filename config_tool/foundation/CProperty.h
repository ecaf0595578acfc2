#pragma once

#include <string>

namespace tarn {

// One key/value pair of a properties file. Plain data.
struct CProperty
{
    std::string key;
    std::string value;
};

} // namespace tarn
