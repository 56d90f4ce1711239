#include "ModSYSType.h"

#ifdef _WIN32
#include "WindowsApi.h"
#endif

namespace {
constexpr std::uint32_t PlatformNt = 2;

#ifdef _WIN32
std::optional<OsVersion> QueryOsVersion() {
    // The extended record: the tool has always asked with its size, 156, and
    // a system that rejects that size counts as unknown.
    OSVERSIONINFOEXA info{};
    static_assert(sizeof(info) == 156);
    info.dwOSVersionInfoSize = sizeof(info);
    if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)) == 0) {
        return std::nullopt;
    }
    return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}
#endif
} // namespace

bool IsFixedListVersion(std::uint32_t platformId, std::uint32_t majorVersion,
                        std::uint32_t minorVersion) {
    return platformId == PlatformNt && majorVersion == 6 && minorVersion == 0;
}

bool CheckSysTypeFor(const std::optional<OsVersion>& version, const ShowMessageBox& showMessage) {
    if (!version) {
        // Chinese whatever the locale: the language is chosen later in start-up.
        if (showMessage) {
            showMessage(u"未知操作系统");
        }
        return false;
    }
    return IsFixedListVersion(version->platformId, version->majorVersion, version->minorVersion);
}

bool CheckSysType(const ShowMessageBox& showMessage) {
#ifdef _WIN32
    return CheckSysTypeFor(QueryOsVersion(), showMessage);
#else
    (void)showMessage;
    return false;
#endif
}
