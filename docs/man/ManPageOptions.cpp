// Fills the option lists into the manual page of orravant-cli from the options the commands
// declare (cli/CommandOptions.h): each line `.\" options of COMMAND` of the page becomes that
// command's options, and `.\" inputs of run` which step needs which input file.
//
//   orravant-man-options TEMPLATE OUTPUT
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/CommandOptions.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: orravant-man-options TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << "orravant-man-options: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::ostringstream page;
    for (std::string line; std::getline(in, line);) {
        if (line == ".\\\" options of run") {
            page << orr::manualOptions(orr::runOptions());
        } else if (line == ".\\\" options of generate") {
            page << orr::manualOptions(orr::generateOptions());
        } else if (line == ".\\\" options of spread") {
            page << orr::manualOptions(orr::spreadOptions());
        } else if (line == ".\\\" inputs of run") {
            page << orr::inputsNeededText(true) << "\n";
        } else {
            page << line << "\n";
        }
    }
    std::ofstream out(argv[2], std::ios::binary);
    out << page.str();
    if (!out) {
        std::cerr << "orravant-man-options: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
