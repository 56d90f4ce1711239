#pragma once

#include "TestBytes.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace simtest {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

inline double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}
inline double msSince(Clock::time_point start) {
    return msBetween(start, Clock::now());
}

// radio-sim running as a child process, with its pty opened raw the way the tool opens
// its serial port. The destructor stops it if the test has not.
class SimProcess {
  public:
    explicit SimProcess(const std::vector<std::string>& arguments);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& ptyPath() const { return ptyPath_; }
    pid_t pid() const { return pid_; }

    // Closes the pty and opens it again, as the tool does between operations.
    void reopen();

    void send(const Bytes& bytes);

    // Waits until count bytes arrived or the timeout passed; returns what arrived.
    Bytes receive(std::size_t count, Millis timeout = 2000ms);

    // Everything that arrives until the line has been quiet for `quiet`.
    Bytes receiveUntilQuiet(Millis quiet);

    // Sends and collects echo plus answer, expecting `count` bytes in all.
    Bytes exchange(const Bytes& bytes, std::size_t count) {
        send(bytes);
        return receive(count);
    }

    // Runs the PROGRAM handshake and checks it; returns whether it was answered.
    bool handshake();

    // Sends SIGTERM (unless it already exited) and returns the exit status, or nullopt
    // if it did not end normally within the timeout.
    std::optional<int> stop(Millis timeout = 5000ms);

    // Waits for the process to exit by itself.
    std::optional<int> waitExit(Millis timeout);

    // Whether reading the pty reports the hang-up (EIO or end of file) within the timeout.
    bool seesHangup(Millis timeout);

  private:
    void openPty();
    void abandon();

    pid_t pid_ = -1;
    int pty_ = -1;
    std::optional<int> exitStatus_;
    std::string ptyPath_;
};

// Runs radio-sim to its end without a pty conversation (argument errors, --help).
struct Finished {
    int status = -1;
    std::string output; // standard output and standard error together
};
Finished runToEnd(const std::vector<std::string>& arguments, Millis timeout = 5000ms);

// A fresh directory, removed with its contents at the end of the test.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

Bytes readFile(const std::filesystem::path& file);
void writeFile(const std::filesystem::path& file, const Bytes& bytes);
std::vector<std::string> readLines(const std::filesystem::path& file);

} // namespace simtest
