#include <iostream>
#include <string>
#include <vector>

#include "tools/mkdisks/MkdisksCommand.h"

int main(int argc, char** argv) {
    return RunMkdisks(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
