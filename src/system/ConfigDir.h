#pragma once

#include <filesystem>

// The tool's own configuration folder: $XDG_CONFIG_HOME/radioinfo, or
// ~/.config/radioinfo when XDG_CONFIG_HOME is unset, empty or relative (the
// XDG rules say to ignore a relative one).
std::filesystem::path RadioinfoConfigDir();

// The tool's own data folder, by the same rules: $XDG_DATA_HOME/radioinfo, or
// ~/.local/share/radioinfo.
std::filesystem::path RadioinfoDataDir();
