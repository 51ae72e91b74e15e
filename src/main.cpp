#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/ProgramStart.h"
#include "cli/CommandLine.h"
#include "cli/ProgramFolder.h"

int main(int argc, char** argv)
{
    const std::string folder = zelvan::programFolder(argv[0]);
    // Without arguments the main window opens; a sub-command runs headless and needs no display.
    if (argc <= 1)
        return zelvan::runMainWindow(argc, argv, folder);

    std::ios::sync_with_stdio(false);
    std::vector<std::string> args(argv + 1, argv + argc);
    zelvan::CommandEnvironment env{std::cin, std::cout, std::cerr, folder};
    return zelvan::runCommandLine(args, env);
}
