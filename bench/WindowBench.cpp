// Measures what the window costs against a bare Qt Widgets window: start-up
// CPU time and peak memory, CPU while idle, and one refresh tick of the port
// list with and without a change. A measurement, not a test.
//
// Both programs are started as they are and watched from outside: start-up
// has ended when a program's CPU time, the sum over its threads from
// /proc/PID/task/*/schedstat, stops growing. Then it is killed, and its CPU
// time and peak memory are what the kernel reports for it.
#include "system/LinuxPortSource.h"
#include "system/SystemPorts.h"
#include "window/FrmMain.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {
// Start-up has ended once a program spends less than this in this long.
constexpr double QuietCpuSeconds = 0.001;
constexpr auto QuietPeriod = 300ms;
constexpr auto PollPeriod = 20ms;
constexpr auto StartTimeout = 20s;
constexpr int TicksPerSample = 100;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// CPU seconds of every live thread of the process.
double ProcessCpuSeconds(pid_t pid) {
    double total = 0;
    std::error_code error;
    const fs::path tasks = fs::path("/proc") / std::to_string(pid) / "task";
    for (fs::directory_iterator it(tasks, error), end; !error && it != end; it.increment(error)) {
        std::ifstream stat(it->path() / "schedstat");
        long long nanoseconds = 0;
        if (stat >> nanoseconds) {
            total += static_cast<double>(nanoseconds) * 1e-9;
        }
    }
    return total;
}

// A program started with a private configuration folder, so that the user's
// settings stay untouched; killed at the end.
class Running {
  public:
    Running(const std::vector<std::string>& command, const std::string& config) {
        std::vector<std::string> env{"XDG_CONFIG_HOME=" + config};
        for (char** e = environ; *e != nullptr; ++e) {
            if (std::string(*e).rfind("XDG_CONFIG_HOME=", 0) != 0) {
                env.emplace_back(*e);
            }
        }
        std::vector<char*> envp;
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        std::vector<std::string> args = command;
        std::vector<char*> argv;
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0) {
            pid_ = -1;
        }
    }
    ~Running() { Stop(); }

    // Kills the program; its CPU time and peak memory over the whole run, as
    // the kernel counts them for a child that has ended (dead threads too).
    rusage Stop() {
        rusage usage{};
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            int status = 0;
            wait4(pid_, &status, 0, &usage);
            pid_ = -1;
        }
        return usage;
    }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

    pid_t Pid() const { return pid_; }

    // The CPU seconds at the start of the first quiet period; negative when
    // the program never got quiet.
    double WaitUntilQuiet() const {
        const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
        std::vector<std::pair<std::chrono::steady_clock::time_point, double>> samples;
        while (std::chrono::steady_clock::now() < deadline) {
            const auto now = std::chrono::steady_clock::now();
            samples.emplace_back(now, ProcessCpuSeconds(pid_));
            for (const auto& [when, cpu] : samples) {
                if (now - when >= QuietPeriod && samples.back().second - cpu < QuietCpuSeconds) {
                    return cpu;
                }
            }
            // Only the samples that can still open a quiet period are kept.
            std::erase_if(samples, [&](const auto& s) { return now - s.first > QuietPeriod; });
            std::this_thread::sleep_for(PollPeriod);
        }
        return -1;
    }

  private:
    pid_t pid_ = -1;
};

struct StartUp {
    double cpu = 0;
    double peakMb = 0;
};

double Seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

bool MeasureStartUp(const std::vector<std::string>& program, int runs, StartUp& result) {
    std::vector<double> cpu;
    std::vector<double> peak;
    for (int run = 0; run < runs; ++run) {
        QTemporaryDir config;
        Running running(program, config.path().toStdString());
        if (running.Pid() <= 0 || running.WaitUntilQuiet() < 0) {
            std::fprintf(stderr, "window-bench: %s did not start\n", program[0].c_str());
            return false;
        }
        const rusage usage = running.Stop();
        cpu.push_back(Seconds(usage.ru_utime) + Seconds(usage.ru_stime));
        peak.push_back(static_cast<double>(usage.ru_maxrss) / 1024.0);
    }
    result = {Median(cpu), Median(peak)};
    return true;
}

// The share of a core each program uses while idle, both measured at once.
std::pair<double, double> IdleShareOfCore(const std::vector<std::string>& first,
                                          const std::vector<std::string>& second, int seconds) {
    QTemporaryDir config;
    QTemporaryDir secondConfig;
    Running a(first, config.path().toStdString());
    Running b(second, secondConfig.path().toStdString());
    if (a.WaitUntilQuiet() < 0 || b.WaitUntilQuiet() < 0) {
        return {-1, -1};
    }
    const auto wallStart = std::chrono::steady_clock::now();
    const double aStart = ProcessCpuSeconds(a.Pid());
    const double bStart = ProcessCpuSeconds(b.Pid());
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double aCpu = ProcessCpuSeconds(a.Pid()) - aStart;
    const double bCpu = ProcessCpuSeconds(b.Pid()) - bStart;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
    return {aCpu / wall.count(), bCpu / wall.count()};
}

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// The system's ports, scanned on every call: a source without a stamp.
class UnstampedPorts : public PortSource {
  public:
    explicit UnstampedPorts(std::shared_ptr<PortSource> ports) : ports_(std::move(ports)) {}
    std::vector<SystemPort> Ports() override { return ports_->Ports(); }

  private:
    std::shared_ptr<PortSource> ports_;
};

// CPU seconds of one refresh tick of a window on this system's ports and an
// own alias folder, optionally changing an alias before each tick.
double TickSeconds(bool stamped, bool change) {
    QTemporaryDir config;
    const fs::path aliases = fs::path(config.path().toStdString()) / "ports";
    fs::create_directory(aliases);
    auto system = std::make_shared<LinuxPortSource>(aliases, SystemSerialDevices);
    FrmMainPlatform platform;
    platform.ports =
        stamped ? std::shared_ptr<PortSource>(system) : std::make_shared<UnstampedPorts>(system);
    platform.settingsPath = (fs::path(config.path().toStdString()) / "mysetup.ini");
    platform.keptReadsFolder = config.filePath("reads"); // the user's kept reads stay untouched
    platform.messageBox = [](FrmMain*, std::u16string_view, MessageButtons, MessageIcon) {
        return MessageResult::Ok;
    };
    FrmMain window(platform);
    window.Form_Load();
    window.ReShowComPortTimer.stop(); // ticks come from here only
    const fs::path alias = aliases / "com900";
    double spent = 0;
    for (int tick = 0; tick < TicksPerSample; ++tick) {
        if (change) {
            std::error_code error;
            if (fs::exists(alias, error)) {
                fs::remove(alias, error);
            } else {
                fs::create_symlink("/dev/null", alias, error);
            }
        }
        const double start = ThreadCpuSeconds();
        window.ReShowComPortTimer_Timer();
        spent += ThreadCpuSeconds() - start;
    }
    return spent / TicksPerSample;
}
} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window-bench RADIOINFO BARE_WINDOW [IDLE_SECONDS] [RUNS]\n");
        return 2;
    }
    // The programs' own runtime folder, which Qt asks for when none is set.
    QTemporaryDir runtime;
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        setenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData(), 1);
    }
    const std::vector<std::string> radioinfo{argv[1]};
    const std::vector<std::string> bare{argv[2]};
    const std::vector<std::string> bareText{argv[2], "--label"};
    const int idleSeconds = argc > 3 ? std::atoi(argv[3]) : 60;
    const int runs = argc > 4 ? std::atoi(argv[4]) : 5;

    StartUp tool;
    StartUp yardstick;
    StartUp withText;
    if (!MeasureStartUp(radioinfo, runs, tool) || !MeasureStartUp(bare, runs, yardstick) ||
        !MeasureStartUp(bareText, runs, withText)) {
        return 1;
    }
    std::printf("start-up CPU   radioinfo %.3f s, bare window %.3f s: %.2fx (median of %d)\n",
                tool.cpu, yardstick.cpu, tool.cpu / yardstick.cpu, runs);
    std::printf("peak memory    radioinfo %.1f MB, bare window %.1f MB: %.2fx\n", tool.peakMb,
                yardstick.peakMb, tool.peakMb / yardstick.peakMb);
    // What any window with a caption pays for its fonts.
    std::printf("bare window with one label: CPU %.3f s, peak %.1f MB; radioinfo against it: "
                "%.2fx CPU, %.2fx memory\n",
                withText.cpu, withText.peakMb, tool.cpu / withText.cpu,
                tool.peakMb / withText.peakMb);
    std::fflush(stdout);
    const auto [toolIdle, bareIdle] = IdleShareOfCore(radioinfo, bare, idleSeconds);
    std::printf("idle CPU       radioinfo %.3f %%, bare window %.3f %% of a core over %d s\n",
                100 * toolIdle, 100 * bareIdle, idleSeconds);
    std::fflush(stdout);

    QApplication app(argc, argv);
    std::printf("refresh tick   unchanged %.1f us, changed %.1f us, scanning every tick %.1f us "
                "(CPU, mean of %d)\n",
                1e6 * TickSeconds(true, false), 1e6 * TickSeconds(true, true),
                1e6 * TickSeconds(false, false), TicksPerSample);
    return 0;
}
