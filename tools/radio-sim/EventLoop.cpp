#include "EventLoop.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace radiosim {

namespace {

volatile std::sig_atomic_t stopWriteFd = -1;

extern "C" void onStopSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(stopWriteFd, &byte, 1);
    errno = saved;
}

// Input is not read while this much output waits: like a real cable, a tool that never
// reads cannot make the simulator buffer without end.
constexpr std::size_t kMaxBacklog = 64 * 1024;

int timeoutMs(std::optional<TimePoint> deadline) {
    if (!deadline) {
        return -1;
    }
    // Rounding up: waking early would only lead to another poll with a zero timeout.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
    return static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(ms.count(), 0, INT_MAX));
}

std::optional<TimePoint> earliest(std::optional<TimePoint> a, std::optional<TimePoint> b) {
    if (a && b) {
        return std::min(*a, *b);
    }
    return a ? a : b;
}

} // namespace

StopSignals::StopSignals() {
    std::array<int, 2> fds{};
    if (::pipe(fds.data()) != 0) {
        throw std::system_error(errno, std::generic_category(), "pipe");
    }
    for (const int fd : fds) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, O_NONBLOCK);
    }
    readFd_ = fds[0];
    stopWriteFd = fds[1];
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

StopSignals::~StopSignals() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    ::close(readFd_);
    ::close(stopWriteFd);
}

void runEventLoop(int master, int stopFd, Simulator& simulator, OutputLine& output) {
    std::array<std::uint8_t, 4096> buffer{};
    for (;;) {
        simulator.tick(Clock::now());
        const OutputLine::Wait wait = output.flush(master, Clock::now());

        std::array<pollfd, 2> fds{};
        fds[0] = {stopFd, POLLIN, 0};
        const auto events =
            (output.backlog() < kMaxBacklog ? POLLIN : 0) | (wait.forWritable ? POLLOUT : 0);
        fds[1] = {master, static_cast<short>(events), 0};
        const int ready = ::poll(fds.data(), fds.size(),
                                 timeoutMs(earliest(simulator.nextDeadline(), wait.until)));
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw std::system_error(errno, std::generic_category(), "poll");
        }
        if (fds[0].revents != 0) {
            return;
        }
        // The simulator holds the slave open, so a hang-up here means the pty is gone.
        if ((fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            throw std::runtime_error("pty master failed");
        }
        if ((fds[1].revents & POLLIN) != 0) {
            const ssize_t count = ::read(master, buffer.data(), buffer.size());
            if (count < 0 && errno != EAGAIN && errno != EINTR) {
                throw std::system_error(errno, std::generic_category(), "read from pty");
            }
            if (count > 0) {
                simulator.receive({buffer.data(), static_cast<std::size_t>(count)}, Clock::now());
                if (simulator.hungUp()) {
                    return;
                }
            }
        }
    }
}

} // namespace radiosim
