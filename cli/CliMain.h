// orravant-cli: the entry point, with injected streams so tests run commands in-process.
#pragma once

#include <iosfwd>

namespace orr {

// Exit status: 0 success, 1 a refused value or a step that stopped on an error, 2 usage error.
int cliMain(int argc, const char* const* argv, std::istream& in, std::ostream& out,
            std::ostream& err);
// The same, telling the commands whether `in` is an interactive terminal (they may then ask
// questions on it); the form above assumes it is not.
int cliMain(int argc, const char* const* argv, std::istream& in, std::ostream& out,
            std::ostream& err, bool stdinIsTerminal);

}  // namespace orr
