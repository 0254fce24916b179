#include "cli/FlagList.h"

#include <algorithm>
#include <charconv>

namespace orr {

namespace {

bool listed(std::initializer_list<std::string_view> names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

FlagList::FlagList(const std::vector<std::string>& args,
                   std::initializer_list<std::string_view> valueFlags,
                   std::initializer_list<std::string_view> switches) {
    parse(
        args, [&](std::string_view name) { return listed(valueFlags, name); },
        [&](std::string_view name) { return listed(switches, name); });
}

FlagList::FlagList(const std::vector<std::string>& args, std::span<const CommandOption> options) {
    const auto find = [options](std::string_view name, bool takesValue) {
        return std::any_of(options.begin(), options.end(), [&](const CommandOption& o) {
            return o.name == name && o.value.empty() != takesValue;
        });
    };
    parse(
        args, [&](std::string_view name) { return find(name, true); },
        [&](std::string_view name) { return find(name, false); });
}

void FlagList::parse(const std::vector<std::string>& args,
                     const std::function<bool(std::string_view)>& takesValue,
                     const std::function<bool(std::string_view)>& isSwitch) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word.size() < 3 || word.compare(0, 2, "--") != 0) {
            throw UsageError("unexpected argument '" + word + "'");
        }
        std::string name = word.substr(2);
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.erase(eq);
        }
        if (values_.count(name)) {
            throw UsageError("--" + name + " given more than once");
        }
        if (isSwitch(name)) {
            if (inlineValue) {
                throw UsageError("--" + name + " takes no value");
            }
            values_[name] = "";
        } else if (takesValue(name)) {
            if (inlineValue) {
                values_[name] = *inlineValue;
            } else if (i + 1 < args.size()) {
                values_[name] = args[++i];
            } else {
                throw UsageError("--" + name + " needs a value");
            }
        } else {
            throw UsageError("unknown option --" + name);
        }
    }
}

std::optional<std::string> FlagList::value(std::string_view name) const {
    auto it = values_.find(std::string(name));
    if (it == values_.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::string FlagList::required(std::string_view name) const {
    auto v = value(name);
    if (!v || v->empty()) {
        throw UsageError("--" + std::string(name) + " is required");
    }
    return *v;
}

std::optional<long long> FlagList::integer(std::string_view name, long long lo,
                                           long long hi) const {
    auto v = value(name);
    if (!v) {
        return std::nullopt;
    }
    auto n = parseWhole(*v, lo, hi);
    if (!n) {
        throw UsageError("--" + std::string(name) + " must be a whole number from " +
                         std::to_string(lo) + " to " + std::to_string(hi) + ", not '" + *v + "'");
    }
    return n;
}

std::optional<long long> parseWhole(std::string_view text, long long lo, long long hi) {
    long long n = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, n);
    if (text.empty() || ec != std::errc() || ptr != end || n < lo || n > hi) {
        return std::nullopt;
    }
    return n;
}

}  // namespace orr
