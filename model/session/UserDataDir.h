// The fallback application directory, from the values of XDG_DATA_HOME and HOME (empty when
// unset): $XDG_DATA_HOME/Orravant, or $HOME/.local/share/Orravant when XDG_DATA_HOME is unset,
// empty or not absolute.
#pragma once

#include <filesystem>
#include <string_view>

namespace orr {

std::filesystem::path userDataDir(std::string_view xdgDataHome, std::string_view home);

}  // namespace orr
