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
} // namespace

std::filesystem::path RadioinfoConfigDir() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && *xdg == '/') {
        return std::filesystem::path(xdg) / "radioinfo";
    }
    return HomeDir() / ".config" / "radioinfo";
}
