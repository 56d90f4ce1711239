#pragma once

#include "PortNumbering.h"
#include "TerminalDevice.h"

#include <filesystem>
#include <string>
#include <vector>

// The user's port aliases: in the folder (normally <config>/radioinfo/ports),
// every entry named comN (any case, N of one to three digits, 1 to 999) that
// is a symbolic link to a terminal device (isTerminal) is the port COMN, its
// device the link's resolved target.
//
// Left out: anything that is not a symbolic link, a link whose target is
// missing (a pseudo-terminal or cable that has gone away, so the port drops
// out of the list like an unplugged device and a device with its number shows
// again) or is no terminal device (/dev/null, a file, a folder), and names
// such as com0, com1234 or comX. When two names give the same number (com7
// and COM7, or com07) the one first in byte order wins. A missing folder
// means no aliases.
std::vector<PortAlias> ReadPortAliases(const std::filesystem::path& folder,
                                       const TerminalCheck& isTerminal = IsTerminalDevice);

// What became of an entry comN of the alias folder.
enum class AliasState {
    Port,          // it is the port COMN
    TargetMissing, // its target cannot be reached: errorCode says why
    NotADevice,    // its target is no terminal device
    NotALink,      // the entry is no symbolic link
    NumberTaken,   // an entry earlier in byte order is the port COMN
};

struct AliasEntry {
    int number = 0;
    std::filesystem::path link;   // the entry in the alias folder
    std::filesystem::path target; // what the link says, as written; empty for no link
    std::u16string devicePath;    // Port: the link's resolved target
    AliasState state = AliasState::Port;
    int errorCode = 0;   // TargetMissing: the errno of following the link
    std::string takenBy; // NumberTaken: the name of the entry that is the port
};

// Every entry named comN in the folder, in byte order of the names, with what
// became of it by the rules above: the ports ReadPortAliases gives and the
// entries it leaves out, so that a broken alias can be shown with its target
// instead of silently missing from the list.
std::vector<AliasEntry> ListAliasEntries(const std::filesystem::path& folder,
                                         const TerminalCheck& isTerminal = IsTerminalDevice);

// The number N of an alias name comN; 0 when the name is not one.
int AliasNumber(std::string_view name);
