#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "cli/CommandLine.h"
#include "cli/ProgramFolder.h"

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    zelvan::CommandEnvironment env{std::cin, std::cout, std::cerr, zelvan::programFolder(argv[0])};
    return zelvan::runCommandLine(args, env);
}
