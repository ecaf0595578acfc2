#include "config_tool/tarnctl/Tarnctl.h"

#include <iostream>

int main(int argc, char* argv[])
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    return tarn::ctl::run(arguments, std::cout, std::cerr);
}
