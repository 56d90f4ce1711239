// Ctrl+C, SIGTERM and SIGHUP reach the event loop with their numbers, and
// end nothing by themselves while they are caught.
#include "system/StopSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>
#include <vector>

TEST(StopSignals, EachSignalReachesTheEventLoopWithItsNumber) {
    int argc = 1;
    char name[] = "system_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    std::vector<int> caught;
    {
        const StopSignals stopSignals([&caught](int signal) { caught.push_back(signal); });
        for (const int signal : {SIGTERM, SIGHUP, SIGINT, SIGHUP}) {
            ASSERT_EQ(std::raise(signal), 0);
        }
        QElapsedTimer waited;
        waited.start();
        while (caught.size() < 4 && waited.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        }
    }
    EXPECT_EQ(caught, (std::vector<int>{SIGTERM, SIGHUP, SIGINT, SIGHUP}));
}

// A program started with stdin and stderr closed: its own writes to stderr
// are no signals.
TEST(StopSignals, OutputOnAClosedStandardStreamIsNoSignal) {
    int argc = 1;
    char name[] = "system_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const int savedIn = ::dup(STDIN_FILENO);
    const int savedErr = ::dup(STDERR_FILENO);
    ::close(STDIN_FILENO);
    ::close(STDERR_FILENO);
    std::vector<int> caught;
    ssize_t written = 0;
    {
        const StopSignals stopSignals([&caught](int signal) { caught.push_back(signal); });
        written = ::write(STDERR_FILENO, "\x02\x0f", 2);
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 300) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
    }
    ::dup2(savedIn, STDIN_FILENO);
    ::dup2(savedErr, STDERR_FILENO);
    ::close(savedIn);
    ::close(savedErr);
    EXPECT_EQ(written, -1) << "stderr stays closed";
    EXPECT_TRUE(caught.empty());
}
