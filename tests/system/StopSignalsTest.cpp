// Ctrl+C, SIGTERM and SIGHUP reach the event loop with their numbers, and
// end nothing by themselves while they are caught.
#include "system/StopSignals.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <csignal>
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
