#include "LinuxPortSource.h"

#include "ConfigDir.h"
#include "PortAliases.h"

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {
// What changes when an entry is added to or removed from a folder, or when a
// file is replaced by another: its identity, times, size and link count.
// A missing file stamps as a lone -1.
void AppendStamp(PortStamp& stamp, const fs::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        stamp.push_back(-1);
        return;
    }
    stamp.insert(stamp.end(),
                 {static_cast<std::int64_t>(info.st_dev), static_cast<std::int64_t>(info.st_ino),
                  static_cast<std::int64_t>(info.st_rdev), info.st_mtim.tv_sec,
                  info.st_mtim.tv_nsec, info.st_ctim.tv_sec, info.st_ctim.tv_nsec,
                  static_cast<std::int64_t>(info.st_size),
                  static_cast<std::int64_t>(info.st_nlink)});
}
} // namespace

LinuxPortSource::LinuxPortSource(fs::path aliasFolder, DeviceLister listDevices,
                                 std::vector<fs::path> deviceFolders, TerminalCheck isTerminal)
    : aliasFolder_(std::move(aliasFolder)), listDevices_(std::move(listDevices)),
      deviceFolders_(std::move(deviceFolders)), isTerminal_(std::move(isTerminal)) {}

std::vector<SystemPort> LinuxPortSource::Ports() {
    return NumberPorts(ReadPortAliases(aliasFolder_, isTerminal_),
                       listDevices_ ? listDevices_() : std::vector<SerialDevice>{});
}

std::optional<PortStamp> LinuxPortSource::ChangeStamp() {
    PortStamp stamp;
    for (const fs::path& folder : deviceFolders_) {
        AppendStamp(stamp, folder);
    }
    AppendStamp(stamp, aliasFolder_);
    // An alias's target can vanish without any folder changing: the folder of
    // pseudo-terminals keeps its times when one closes. So each target is
    // stamped itself, through the link.
    std::error_code error;
    for (fs::directory_iterator it(aliasFolder_, error), end; !error && it != end;
         it.increment(error)) {
        if (AliasNumber(it->path().filename().string()) != 0) {
            AppendStamp(stamp, it->path());
        }
    }
    return stamp;
}

std::u16string LinuxPortSource::DevicePathOf(int portNo) {
    const std::u16string wanted = ComPortText(portNo);
    for (const SystemPort& port : Ports()) {
        if (port.data == wanted) {
            return port.devicePath;
        }
    }
    return {};
}

std::vector<fs::path> LinuxPortSource::DeviceFolders() {
    return {"/dev", "/sys/class/tty"};
}

std::filesystem::path DefaultAliasFolder() {
    return RadioinfoConfigDir() / "ports";
}
