#include "PortAliases.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {
constexpr std::size_t MaxDigits = 3;

bool IsAliasTarget(const fs::path& link) {
    std::error_code error;
    return fs::is_symlink(fs::symlink_status(link, error)) &&
           fs::is_character_file(fs::status(link, error));
}
} // namespace

int AliasNumber(std::string_view name) {
    if (name.size() < 4 || name.size() > 3 + MaxDigits) {
        return 0;
    }
    const std::string_view prefix = name.substr(0, 3);
    const bool isCom = std::equal(prefix.begin(), prefix.end(), "com", [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == b;
    });
    if (!isCom) {
        return 0;
    }
    int number = 0;
    for (const char c : name.substr(3)) {
        if (c < '0' || c > '9') {
            return 0;
        }
        number = number * 10 + (c - '0');
    }
    return number;
}

std::vector<PortAlias> ReadPortAliases(const fs::path& folder) {
    // Name order, so that the winner among equal numbers does not depend on
    // the order the file system lists the folder in.
    std::map<std::string, int> names;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (const int number = AliasNumber(name); number != 0) {
            names.emplace(name, number);
        }
    }
    std::vector<PortAlias> aliases;
    for (const auto& [name, number] : names) {
        const fs::path link = folder / name;
        if (!IsAliasTarget(link)) {
            continue;
        }
        const bool taken = std::any_of(aliases.begin(), aliases.end(),
                                       [n = number](const PortAlias& a) { return a.number == n; });
        if (taken) {
            continue;
        }
        const fs::path device = fs::canonical(link, error);
        if (error) {
            continue;
        }
        try {
            aliases.push_back({number, device.u16string()});
        } catch (const std::exception&) {
            // A target path that is not valid UTF-8 cannot be shown or
            // handed on; the alias is left out like a broken one.
        }
    }
    return aliases;
}
