#include <iostream>
#include <string>
#include <vector>

#include "batch/batch_command.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return tesvid::RunBatchCommand(args, std::cout, std::cerr);
}
