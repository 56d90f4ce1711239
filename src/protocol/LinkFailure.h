#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Where a link failed and what the radio holds now: what the dealer is told
// on the line after "Communication Error!".
struct LinkFailure {
    int portNo = 0;                          // COM<n>; 0 when the port has no number
    std::u16string_view device;              // the port's device; may be empty
    std::span<const std::uint8_t> command;   // the command outstanding
    int refusals = 0;                        // 0: no answer; else how often the radio refused it
    std::span<const int> acknowledgedBlocks; // W blocks acknowledged since PROGRAM
};

// The port as the dealer is told of it: "COM3 (/dev/ttyUSB0)", or whichever
// of the two is known.
std::u16string PortName(int portNo, std::u16string_view device);

// The command as the dealer and the transcripts name it: PROGRAM, R 3B20,
// W 3B60, END.
std::u16string CommandName(std::span<const std::uint8_t> command);

// One line in the language of langType (2 Chinese, else English): the port
// and the command that failed, what was written when W blocks went out, and
// what to check.
std::u16string LinkFailureLine(const LinkFailure& failure, int langType);

// The line for a write stopped at once, in the language of langType: the
// command outstanding and what was written, as LinkFailureLine says it.
std::u16string StoppedWriteLine(std::span<const std::uint8_t> command,
                                std::span<const int> acknowledgedBlocks, int langType);
