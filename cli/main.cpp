// orravant-cli: the computation steps and the parameters without a window.
#include <unistd.h>

#include <iostream>

#include "cli/CliMain.h"

int main(int argc, char** argv) {
    const bool stdinIsTerminal = ::isatty(STDIN_FILENO) == 1;
    return orr::cliMain(argc, argv, std::cin, std::cout, std::cerr, stdinIsTerminal);
}
