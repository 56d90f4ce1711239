#include "OpenFailure.h"

#include "SystemError.h"

#ifndef _WIN32
#include "SystemPorts.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#include <vector>
#endif

namespace {
struct ReasonText {
    const char* english;
    const char* chinese;
};

constexpr ReasonText UnknownPort{"COM%1 is not a known port.", "COM%1 不是已知的串口。"};
constexpr ReasonText InUse{"%1 is in use by another program.", "%1 正被另一个程序使用。"};
constexpr ReasonText DialoutHint{
    "Serial ports belong to the dialout group: sudo usermod -aG dialout $USER, then log in again.",
    "串口属于 dialout 组：执行 sudo usermod -aG dialout $USER，然后重新登录。"};
#ifndef _WIN32
constexpr ReasonText BrokenAlias{"The alias %1 is broken: %2.", "别名 %1 已失效：%2。"};
constexpr ReasonText NotADevice{"its target is not a serial device", "目标不是串口设备"};
constexpr ReasonText NotALink{"it is not a symbolic link", "它不是符号链接"};
constexpr ReasonText NumberTaken{"the alias %1 already has its number", "别名 %1 已占用该编号"};
#endif

QString InLanguage(const ReasonText& text, int langType) {
    return QString::fromUtf8(langType == 2 ? text.chinese : text.english);
}
} // namespace

QString UnknownPortReason(int portNo, int langType) {
    const QString broken = BrokenAliasReason(portNo, langType);
    const QString reason = InLanguage(UnknownPort, langType).arg(portNo);
    return broken.isEmpty() ? reason : reason + QStringLiteral("\r\n") + broken;
}

QString BrokenAliasReason(int portNo, int langType) {
    QStringList lines;
#ifndef _WIN32
    // The alias the user made for this number, which the list leaves out.
    const std::vector<AliasEntry> entries = SystemPortAliases();
    const bool aliasIsPort = std::ranges::any_of(entries, [portNo](const AliasEntry& entry) {
        return entry.number == portNo && entry.state == AliasState::Port;
    });
    for (const AliasEntry& entry : entries) {
        if (!aliasIsPort && entry.number == portNo && entry.state != AliasState::Port) {
            lines << InLanguage(BrokenAlias, langType)
                         .arg(AliasText(entry), AliasProblem(entry, langType));
        }
    }
#else
    static_cast<void>(portNo);
    static_cast<void>(langType);
#endif
    return lines.join(QStringLiteral("\r\n"));
}

QString PortInUseReason(int portNo, const QString& device, int langType) {
    const QString port = portNo > 0 ? QStringLiteral("COM%1").arg(portNo) : device;
    return InLanguage(InUse, langType).arg(port);
}

QString OpenFailureReason(const QString& device, int errorCode, bool adviseDialout, int langType) {
    QString reason =
        device + QStringLiteral(": ") + QString::fromStdU16String(SystemErrorText(errorCode));
    if (adviseDialout) {
        reason += QStringLiteral("\r\n") + InLanguage(DialoutHint, langType);
    }
    return reason;
}

#ifdef _WIN32
bool DialoutWouldHelp(int, const QString&) {
    return false;
}

int DeviceOpenError(const QString&) {
    return 0;
}
#else
bool DialoutWouldHelp(int errorCode, const QString& device) {
    if (errorCode != EACCES || ::geteuid() == 0) {
        return false;
    }
    const group* dialout = ::getgrnam("dialout");
    struct stat info {};
    if (dialout == nullptr || ::stat(QFile::encodeName(device).constData(), &info) != 0 ||
        info.st_gid != dialout->gr_gid || ::getegid() == dialout->gr_gid) {
        return false;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    groups.resize(static_cast<std::size_t>(std::max(count, 0)));
    return std::find(groups.begin(), groups.end(), dialout->gr_gid) == groups.end();
}

int DeviceOpenError(const QString& device) {
    const int fd =
        ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    termios settings{};
    const int code = ::tcgetattr(fd, &settings) == 0 ? 0 : errno;
    ::close(fd);
    return code;
}

QString AliasProblem(const AliasEntry& entry, int langType) {
    switch (entry.state) {
    case AliasState::TargetMissing:
        return QString::fromStdU16String(SystemErrorText(entry.errorCode));
    case AliasState::NotADevice:
        return InLanguage(NotADevice, langType);
    case AliasState::NotALink:
        return InLanguage(NotALink, langType);
    case AliasState::NumberTaken:
        return InLanguage(NumberTaken, langType).arg(QString::fromStdString(entry.takenBy));
    case AliasState::Port:
        break;
    }
    return {};
}

QString AliasText(const AliasEntry& entry) {
    const QString link = QFile::decodeName(entry.link.c_str());
    if (entry.state == AliasState::NotALink) {
        return link;
    }
    return link + QStringLiteral(" -> ") + QFile::decodeName(entry.target.c_str());
}
#endif
