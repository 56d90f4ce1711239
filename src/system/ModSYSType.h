#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

// The operating-system check: decides once at start-up whether the port list
// is the fixed COM1..COM256 list or the ports the system reports.

// What the version query reports.
struct OsVersion {
    std::uint32_t platformId = 0;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
};

// Shows a modal message with only an OK button.
using ShowMessageBox = std::function<void(std::u16string_view text)>;

// Fixed-list mode exactly for the NT family (platform 2) version 6.0, that
// is Vista and Server 2008; every other version lists the system's ports.
bool IsFixedListVersion(std::uint32_t platformId, std::uint32_t majorVersion,
                        std::uint32_t minorVersion);

// The check on a query's outcome: nullopt (the query failed) shows
// "未知操作系统" and gives registry mode.
bool CheckSysTypeFor(const std::optional<OsVersion>& version, const ShowMessageBox& showMessage);

// The check on this system; the result is the FixedPortList flag. On Windows
// it asks GetVersionExA; elsewhere there is no such query and fixed-list mode
// is off without a message.
bool CheckSysType(const ShowMessageBox& showMessage);
