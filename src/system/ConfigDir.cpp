#include "ConfigDir.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace {
std::filesystem::path HomeDir() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    // Services and sudo may run without HOME; the password database still knows.
    if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return "/";
}

// The folder an XDG variable names, or its default under the home folder.
std::filesystem::path XdgHome(const char* variable, const char* homeDefault) {
    const char* xdg = std::getenv(variable);
    if (xdg != nullptr && *xdg == '/') {
        return xdg;
    }
    return HomeDir() / homeDefault;
}
} // namespace

std::filesystem::path RadioinfoConfigDir() {
    return XdgHome("XDG_CONFIG_HOME", ".config") / "radioinfo";
}

std::filesystem::path RadioinfoDataDir() {
    return XdgHome("XDG_DATA_HOME", ".local/share") / "radioinfo";
}
