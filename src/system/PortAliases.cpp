#include "PortAliases.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {
constexpr std::size_t MaxDigits = 3;

// An entry whose number no earlier entry has taken: a port, or why not.
void Classify(AliasEntry& entry, const TerminalCheck& isTerminal) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(entry.link, error))) {
        entry.state = AliasState::NotALink;
        return;
    }
    entry.target = fs::read_symlink(entry.link, error);
    const fs::file_status status = fs::status(entry.link, error);
    if (error || status.type() == fs::file_type::not_found) {
        entry.state = AliasState::TargetMissing;
        entry.errorCode = error ? error.value() : ENOENT;
        return;
    }
    const fs::path device = fs::canonical(entry.link, error);
    if (error) {
        entry.state = AliasState::TargetMissing;
        entry.errorCode = error.value();
        return;
    }
    if (!fs::is_character_file(status) || !isTerminal(device)) {
        entry.state = AliasState::NotADevice;
        return;
    }
    try {
        entry.devicePath = device.u16string();
    } catch (const std::exception&) {
        // A target path that is not valid UTF-8 cannot be shown or handed
        // on; the alias is left out like a broken one.
        entry.state = AliasState::TargetMissing;
        entry.errorCode = EILSEQ;
    }
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

std::vector<AliasEntry> ListAliasEntries(const fs::path& folder, const TerminalCheck& isTerminal) {
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
    std::vector<AliasEntry> entries;
    std::map<int, std::string> ports;
    for (const auto& [name, number] : names) {
        AliasEntry entry;
        entry.number = number;
        entry.link = folder / name;
        if (const auto port = ports.find(number); port != ports.end()) {
            entry.state = AliasState::NumberTaken;
            entry.target = fs::read_symlink(entry.link, error);
            entry.takenBy = port->second;
        } else {
            Classify(entry, isTerminal);
        }
        if (entry.state == AliasState::Port) {
            ports.emplace(number, name);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::vector<PortAlias> ReadPortAliases(const fs::path& folder, const TerminalCheck& isTerminal) {
    std::vector<PortAlias> aliases;
    for (const AliasEntry& entry : ListAliasEntries(folder, isTerminal)) {
        if (entry.state == AliasState::Port) {
            aliases.push_back({entry.number, entry.devicePath});
        }
    }
    return aliases;
}
