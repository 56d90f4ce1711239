#include "Pty.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace radiosim {

namespace {

[[noreturn]] void fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

Pty::Pty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) {
        fail("posix_openpt");
    }
    try {
        if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
            fail("grantpt/unlockpt");
        }
        const char* name = ::ptsname(master_);
        if (name == nullptr) {
            fail("ptsname");
        }
        slavePath_ = name;
        slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (slave_ < 0) {
            fail("open pty slave");
        }
        // Raw on the slave side, or the line discipline would echo, translate CR/LF and
        // swallow control bytes on top of what the cable does.
        termios attributes{};
        if (::tcgetattr(slave_, &attributes) != 0) {
            fail("tcgetattr");
        }
        ::cfmakeraw(&attributes);
        ::cfsetispeed(&attributes, B9600);
        ::cfsetospeed(&attributes, B9600);
        if (::tcsetattr(slave_, TCSANOW, &attributes) != 0) {
            fail("tcsetattr");
        }
        const int flags = ::fcntl(master_, F_GETFL);
        if (flags < 0 || ::fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0) {
            fail("fcntl");
        }
    } catch (...) {
        if (slave_ >= 0) {
            ::close(slave_);
        }
        ::close(master_);
        throw;
    }
}

Pty::~Pty() {
    ::close(master_);
    ::close(slave_);
}

PtyLink::PtyLink(std::filesystem::path link, std::string target)
    : link_(std::move(link)), target_(std::move(target)) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(link_, error);
    if (std::filesystem::is_symlink(status)) {
        std::filesystem::remove(link_, error);
    } else if (std::filesystem::exists(status)) {
        throw std::runtime_error("--link " + link_.string() + " exists and is not a symlink");
    }
    std::filesystem::create_symlink(target_, link_); // throws filesystem_error
}

PtyLink::~PtyLink() {
    std::error_code error;
    if (std::filesystem::read_symlink(link_, error) == target_) {
        std::filesystem::remove(link_, error);
    }
}

} // namespace radiosim
