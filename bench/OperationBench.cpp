// Measures a Read and a Write against radio-sim pacing its line at 9600 baud
// with a fixed answer latency. Prints the tool's wall time divided by the
// time the line itself needs (bytes on the wire plus the radio's latency), and
// the tool's CPU time per operation. A measurement, not a test.
#include "protocol/ModComm.h"
#include "system/QtResponseTimer.h"
#include "system/QtSerialControl.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {
constexpr double ByteSeconds = 10.0 / 9600.0; // 8N1: ten bits a byte

// The window side of a measurement: no questions, the end of an operation quits.
class BenchWindow : public WindowSide {
  public:
    std::function<void()> onEnd;
    std::u16string lastMessage;
    int LangType() const override { return 1; }
    void ShowByData() override {}
    void GetDataByShow() override {}
    bool ToggleBatchFace() override { return false; }
    void SetStatusLine(std::u16string_view) override {}
    void SetRadioNumber(std::u16string_view) override {}
    MessageResult ShowMessage(std::u16string_view text, MessageButtons, MessageIcon) override {
        lastMessage = text;
        onEnd();
        return MessageResult::Ok;
    }
};

double CpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Sample {
    double wall = 0;
    double cpu = 0;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString sim = args.value(1);
    const int latencyMs = args.value(2, "20").toInt();
    const int rounds = args.value(3, "5").toInt();
    if (sim.isEmpty() || rounds < 1) {
        std::fprintf(stderr, "usage: operation-bench RADIO_SIM [LATENCY_MS] [ROUNDS]\n");
        return 2;
    }

    QProcess radio;
    radio.start(sim, {"--pace", "--latency", QString::number(latencyMs)});
    radio.waitForReadyRead(5000);
    const QString device = QString::fromUtf8(radio.readLine()).trimmed().mid(4);

    ModData data;
    BenchWindow window;
    ModComm* commPtr = nullptr;
    QtSerialControl serial([&](int) { return device; },
                           [&](int event) { commPtr->MSComm1_OnComm(event); });
    QtResponseTimer timer([&] { commPtr->WaitTimer_Timer(); });
    ModComm comm(data, serial, timer, window);
    commPtr = &comm;
    comm.ComPortNo = 1;

    struct Operation {
        const char* name;
        void (ModComm::*start)();
        int bytesReceived;
        int commands;
    };
    const Operation operations[] = {
        {"Read", &ModComm::StartRead, 430, 18},
        {"Write", &ModComm::StartWrite, 253, 12},
    };
    std::printf("radio-sim --pace --latency %d, %d rounds, medians\n", latencyMs, rounds);
    for (const Operation& op : operations) {
        std::vector<double> walls, cpus;
        for (int round = 0; round < rounds; ++round) {
            QEventLoop loop;
            window.onEnd = [&loop] { loop.quit(); };
            QElapsedTimer wall;
            const double cpuStart = CpuSeconds();
            wall.start();
            (comm.*op.start)();
            loop.exec();
            walls.push_back(static_cast<double>(wall.nsecsElapsed()) * 1e-9);
            cpus.push_back(CpuSeconds() - cpuStart);
            if (window.lastMessage != u"Read Complete!" &&
                window.lastMessage != u"Write Complete!") {
                std::fprintf(stderr, "%s failed\n", op.name);
                return 1;
            }
        }
        const double line = op.bytesReceived * ByteSeconds + op.commands * latencyMs / 1000.0;
        const double wallTime = Median(walls);
        std::printf(
            "%-5s wall %.3f s, line %.3f s (%d bytes + %d x %d ms), ratio %.3f, cpu %.1f ms\n",
            op.name, wallTime, line, op.bytesReceived, op.commands, latencyMs, wallTime / line,
            Median(cpus) * 1000.0);
    }
    radio.terminate();
    radio.waitForFinished();
    return 0;
}
