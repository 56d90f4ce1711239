#include "EventLoop.h"
#include "Options.h"
#include "OutputLine.h"
#include "Pty.h"
#include "RadioMemories.h"
#include "Simulator.h"
#include "Transcript.h"
#include "Version.h"

#include <iostream>
#include <optional>
#include <span>

int main(int argc, char** argv) {
    using namespace radiosim;
    Options options;
    try {
        options = parseOptions(
            std::span<const char* const>(argv + 1, static_cast<std::size_t>(argc - 1)));
    } catch (const OptionError& error) {
        std::cerr << "radio-sim: " << error.what() << "\nTry 'radio-sim --help'.\n";
        return 2;
    }
    if (options.help) {
        std::cout << usageText();
        return std::cout.flush() ? 0 : 1;
    }
    if (options.showVersion) {
        std::cout << "radio-sim " << RadioinfoVersion << '\n';
        return std::cout.flush() ? 0 : 1;
    }
    try {
        std::vector<Memory> memories = radioMemories(options);
        Transcript transcript(options.transcript, Clock::now());
        const StopSignals stopSignals;
        const Pty pty;
        std::optional<PtyLink> link;
        if (options.link) {
            link.emplace(*options.link, pty.slavePath());
        }
        std::cout << "PTY " << pty.slavePath() << std::endl;

        OutputLine output(options.pace);
        Simulator simulator(options, std::move(memories), output, transcript);
        runEventLoop(pty.master(), stopSignals.fd(), simulator, output);
    } catch (const std::exception& error) {
        std::cerr << "radio-sim: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
