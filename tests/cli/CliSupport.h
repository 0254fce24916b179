// Running orravant-cli in-process with injected streams.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliCommand.h"
#include "cli/CliMain.h"
#include "tests/support/TestFiles.h"

namespace orr::test {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// orravant-cli WORDS... with `input` on stdin, a terminal or not.
inline Outcome cli(std::vector<std::string> words, const std::string& input = "",
                   bool terminal = false) {
    words.insert(words.begin(), "orravant-cli");
    std::vector<const char*> argv;
    for (const std::string& w : words) argv.push_back(w.c_str());
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = cliMain(static_cast<int>(argv.size()), argv.data(), in, out, err, terminal);
    return {status, out.str(), err.str()};
}

// orravant-cli --app-dir APP WORDS...
inline Outcome cliIn(const std::filesystem::path& app, std::vector<std::string> words,
                     const std::string& input = "", bool terminal = false) {
    words.insert(words.begin(), {"--app-dir", app.string()});
    return cli(std::move(words), input, terminal);
}

}  // namespace orr::test
