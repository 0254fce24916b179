// The words of a command line as flags: "--name value", "--name=value" and bare switches.
// Each command says which flags take a value and which are switches; anything else is a usage
// error that names the word.
#pragma once

#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cli/CommandOptions.h"

namespace orr {

class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

class FlagList {
  public:
    // Throws UsageError for an unknown flag, a value flag without its value, a switch given a
    // value, a flag given twice, or a word that is not a flag.
    FlagList(const std::vector<std::string>& args,
             std::initializer_list<std::string_view> valueFlags,
             std::initializer_list<std::string_view> switches);
    // The same for the options of a command as declared.
    FlagList(const std::vector<std::string>& args, std::span<const CommandOption> options);

    bool has(std::string_view name) const { return values_.count(std::string(name)) != 0; }
    std::optional<std::string> value(std::string_view name) const;
    // The value of a flag that must be given.
    std::string required(std::string_view name) const;
    // A whole number in lo..hi; throws UsageError naming the flag otherwise.
    std::optional<long long> integer(std::string_view name, long long lo, long long hi) const;

  private:
    void parse(const std::vector<std::string>& args,
               const std::function<bool(std::string_view)>& takesValue,
               const std::function<bool(std::string_view)>& isSwitch);
    std::map<std::string, std::string> values_;
};

// A whole decimal number in lo..hi (no sign other than a leading minus, no blanks), or nullopt.
std::optional<long long> parseWhole(std::string_view text, long long lo, long long hi);

}  // namespace orr
