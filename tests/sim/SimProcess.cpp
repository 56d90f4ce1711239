#include "SimProcess.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <system_error>
#include <termios.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace simtest {

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw std::system_error(errno, std::generic_category(), what);
}

int remainingMs(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<Millis>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// Starts radio-sim with standard output (and optionally standard error) on a pipe.
pid_t spawn(const std::vector<std::string>& arguments, bool withStderr, int& outputFd) {
    std::array<int, 2> pipeFds{};
    if (::pipe2(pipeFds.data(), O_CLOEXEC) != 0) {
        fail("pipe2");
    }
    std::vector<std::string> all{RADIO_SIM_PATH};
    all.insert(all.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : all) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    if (withStderr) {
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    }
    pid_t pid = -1;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (error != 0) {
        ::close(pipeFds[0]);
        errno = error;
        fail("posix_spawn " + all[0]);
    }
    outputFd = pipeFds[0];
    return pid;
}

// The exit status (128 + signal number for a killed process), or nullopt while it runs.
std::optional<int> reap(pid_t pid, Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (done < 0 || Clock::now() >= deadline) {
            return std::nullopt;
        }
        std::this_thread::sleep_for(2ms);
    }
}

} // namespace

std::string hex(const Bytes& bytes) {
    std::string out;
    for (const std::uint8_t byte : bytes) {
        char two[4];
        std::snprintf(two, sizeof two, "%02X ", static_cast<unsigned>(byte));
        out += two;
    }
    if (!out.empty()) {
        out.pop_back();
    }
    return out;
}

SimProcess::SimProcess(const std::vector<std::string>& arguments) {
    int output = -1;
    pid_ = spawn(arguments, false, output);
    std::string line;
    const auto deadline = Clock::now() + 5s;
    while (line.find('\n') == std::string::npos) {
        pollfd fd{output, POLLIN, 0};
        char chunk[256];
        ssize_t count = 0;
        if (::poll(&fd, 1, remainingMs(deadline)) <= 0 ||
            (count = ::read(output, chunk, sizeof chunk)) <= 0) {
            ::close(output);
            abandon();
            throw std::runtime_error("radio-sim did not announce its pty; got '" + line + "'");
        }
        line.append(chunk, static_cast<std::size_t>(count));
    }
    ::close(output);
    line.resize(line.find('\n'));
    if (!line.starts_with("PTY /dev/")) {
        abandon();
        throw std::runtime_error("unexpected first line '" + line + "'");
    }
    ptyPath_ = line.substr(4);
    openPty();
}

void SimProcess::openPty() {
    pty_ = ::open(ptyPath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (pty_ < 0) {
        abandon();
        fail("open " + ptyPath_);
    }
    termios attributes{};
    ::tcgetattr(pty_, &attributes);
    ::cfmakeraw(&attributes);
    ::cfsetspeed(&attributes, B9600);
    ::tcsetattr(pty_, TCSANOW, &attributes);
}

void SimProcess::reopen() {
    ::close(pty_);
    openPty();
}

SimProcess::~SimProcess() {
    if (pty_ >= 0) {
        ::close(pty_);
    }
    abandon();
}

void SimProcess::abandon() {
    if (!stop(3000ms)) {
        ::kill(pid_, SIGKILL);
        reap(pid_, 1000ms);
    }
}

void SimProcess::send(const Bytes& bytes) {
    std::size_t sent = 0;
    const auto deadline = Clock::now() + 2s;
    while (sent < bytes.size()) {
        const ssize_t count = ::write(pty_, bytes.data() + sent, bytes.size() - sent);
        if (count > 0) {
            sent += static_cast<std::size_t>(count);
            continue;
        }
        if (count < 0 && errno != EAGAIN) {
            fail("write to pty");
        }
        pollfd fd{pty_, POLLOUT, 0};
        if (::poll(&fd, 1, remainingMs(deadline)) <= 0) {
            throw std::runtime_error("pty not writable");
        }
    }
}

Bytes SimProcess::receive(std::size_t count, Millis timeout) {
    Bytes received;
    const auto deadline = Clock::now() + timeout;
    while (received.size() < count) {
        pollfd fd{pty_, POLLIN, 0};
        if (::poll(&fd, 1, remainingMs(deadline)) <= 0 || (fd.revents & POLLIN) == 0) {
            break;
        }
        std::array<std::uint8_t, 512> chunk{};
        const ssize_t got =
            ::read(pty_, chunk.data(), std::min(chunk.size(), count - received.size()));
        if (got <= 0) {
            break;
        }
        received.insert(received.end(), chunk.begin(), chunk.begin() + got);
    }
    return received;
}

Bytes SimProcess::receiveUntilQuiet(Millis quiet) {
    Bytes received;
    for (;;) {
        Bytes more = receive(4096, quiet);
        if (more.empty()) {
            return received;
        }
        received.insert(received.end(), more.begin(), more.end());
    }
}

bool SimProcess::handshake() {
    return exchange(programCommand(), 10) == join({programCommand(), handshakeAnswer()});
}

std::optional<int> SimProcess::stop(Millis timeout) {
    if (!exitStatus_) {
        ::kill(pid_, SIGTERM);
        exitStatus_ = reap(pid_, timeout);
    }
    return exitStatus_;
}

std::optional<int> SimProcess::waitExit(Millis timeout) {
    if (!exitStatus_) {
        exitStatus_ = reap(pid_, timeout);
    }
    return exitStatus_;
}

bool SimProcess::seesHangup(Millis timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        pollfd fd{pty_, POLLIN, 0};
        if (::poll(&fd, 1, remainingMs(deadline)) <= 0) {
            return false;
        }
        std::uint8_t byte = 0;
        const ssize_t got = ::read(pty_, &byte, 1);
        if (got == 0 || (got < 0 && errno == EIO)) {
            return true;
        }
    }
}

Finished runToEnd(const std::vector<std::string>& arguments, Millis timeout) {
    int output = -1;
    const pid_t pid = spawn(arguments, true, output);
    Finished finished;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        pollfd fd{output, POLLIN, 0};
        char chunk[512];
        ssize_t count = 0;
        if (::poll(&fd, 1, remainingMs(deadline)) <= 0 ||
            (count = ::read(output, chunk, sizeof chunk)) <= 0) {
            break;
        }
        finished.output.append(chunk, static_cast<std::size_t>(count));
    }
    ::close(output);
    const auto status =
        reap(pid, std::max(Millis(1), std::chrono::duration_cast<Millis>(deadline - Clock::now())));
    if (!status) {
        ::kill(pid, SIGKILL);
        reap(pid, 1000ms);
    }
    finished.status = status.value_or(-1);
    return finished;
}

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "radio-sim-test.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        fail("mkdtemp");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

Bytes readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> readLines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

} // namespace simtest
