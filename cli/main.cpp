// orravant-cli: the computation steps and the parameters without a window.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "cli/CliMain.h"
#include "core/MemoryReuse.h"

int main(int argc, char** argv) {
    orr::keepFreedMemoryForReuse();
    const bool stdinIsTerminal = ::isatty(STDIN_FILENO) == 1;
    const int status = orr::cliMain(argc, argv, std::cin, std::cout, std::cerr, stdinIsTerminal);
    // What the program printed must have reached its output (a full disk, a closed pipe): a run
    // whose report or listing is lost does not end in success.
    errno = 0;
    std::cout.flush();
    int err = errno;  // taken before anything else can change it
    bool written = std::cout.good();
    if (std::fflush(stdout) != 0) {
        written = false;
        if (err == 0) err = errno;
    }
    if (std::ferror(stdout)) written = false;
    if (!written) {
        std::cerr << "orravant-cli: cannot write to the standard output"
                  << (err != 0 ? std::string(": ") + std::strerror(err) : std::string()) << "\n";
        return status == 0 ? 1 : status;
    }
    return status;
}
