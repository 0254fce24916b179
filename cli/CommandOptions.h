// The options of a command declared once, as data: the parser, the usage text of --help and the
// option list of the manual page all come from the same table.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Step.h"

namespace orr {

struct CommandOption {
    std::string_view name;  // without the two dashes
    // The value's placeholder in the option list ("FILE"); empty for a switch.
    std::string_view value;
    // The usage text's description; lines after the first are indented under it.
    std::string_view usage;
    // The manual page's description, in roff.
    std::string_view manual;
    // Always to be given.
    bool required = false;
    // A chosen input file: to be given when a chosen step needs it.
    std::optional<ChosenInput> input = std::nullopt;
    // The value as the synopsis shows it, when not `value` ("drop|ask").
    std::string_view synopsisValue = {};
    // Left out of the synopsis (--help).
    bool hidden = false;
};

// `words`, one option of `options` after the other: "--name value", "--name=value" or a switch.
// `neededInputs`: the chosen inputs the command needs (shown as required in the synopsis).
std::string synopsis(std::string_view start, std::span<const CommandOption> options,
                     std::span<const ChosenInput> neededInputs);
// The option list of the usage text: "  --name VALUE" and its description, one option a line.
std::string usageOptions(std::span<const CommandOption> options);
// The option list of the manual page, in roff.
std::string manualOptions(std::span<const CommandOption> options);
// Text wrapped at `width` columns, continuation lines begun with `indent`.
std::string wrapped(std::string_view text, std::size_t width, std::string_view indent = {});

// The options of the commands.
std::span<const CommandOption> runOptions();
std::span<const CommandOption> generateOptions();
std::span<const CommandOption> spreadOptions();
// "--coeff and --dbh by steps 5 to 7, ..., --ds1 by steps 6 and 7; step 8 reads only the files of
// the data set": which step needs which input, from the steps' declarations; `roff` marks the
// option names bold for the manual page.
std::string inputsNeededText(bool roff);

}  // namespace orr
