#pragma once

#include "PortNumbering.h"

#include <filesystem>
#include <vector>

// The user's port aliases: in the folder (normally <config>/radioinfo/ports),
// every entry named comN (any case, N of one to three digits, 1 to 999) that
// is a symbolic link to a character device is the port COMN, its device the
// link's resolved target.
//
// Left out: anything that is not a symbolic link, a link whose target is
// missing (a pseudo-terminal or cable that has gone away, so the port drops
// out of the list like an unplugged device and a device with its number shows
// again) or is not a character device, and names such as com0, com1234 or
// comX. When two names give the same number (com7 and COM7, or com07) the one
// first in byte order wins. A missing folder means no aliases.
std::vector<PortAlias> ReadPortAliases(const std::filesystem::path& folder);

// The number N of an alias name comN; 0 when the name is not one.
int AliasNumber(std::string_view name);
