#pragma once

#include "doubles/ProtocolWorld.h"

#include <string>
#include <vector>

// The three operations a test can run the same case through.
enum class Operation { Read, Write, Batch };

inline const char* Name(Operation op) {
    switch (op) {
    case Operation::Read:
        return "Read";
    case Operation::Write:
        return "Write";
    case Operation::Batch:
        return "Batch";
    }
    return "?";
}

inline void Start(ProtocolWorld& w, Operation op, int batchCount = 1) {
    switch (op) {
    case Operation::Read:
        w.comm.StartRead();
        break;
    case Operation::Write:
        w.comm.StartWrite();
        break;
    case Operation::Batch:
        w.ClickBatch(batchCount);
        break;
    }
}

inline std::int16_t ModeOf(Operation op) {
    switch (op) {
    case Operation::Read:
        return ModeRead;
    case Operation::Write:
        return ModeWrite;
    case Operation::Batch:
        return ModeMulWrite;
    }
    return ModeIdle;
}

// The commands of a whole operation on one radio that answers everything.
inline std::vector<std::string> FullCommands(Operation op) {
    std::vector<std::string> commands = {"PROGRAM"};
    if (op == Operation::Read) {
        for (int a = 0x3B00; a <= 0x3BF0; a += 0x10) {
            commands.push_back(CommandFor("R", a));
        }
    } else {
        commands.insert(commands.end(), {"R 3B00", "R 3B10", "R 3BF0"});
        commands.insert(commands.end(), WrittenBlocks.begin(), WrittenBlocks.end());
    }
    commands.push_back("END");
    return commands;
}

// The message that ends a successful operation (a batch of one radio).
inline std::u16string CompleteText(Operation op) {
    switch (op) {
    case Operation::Read:
        return Box::ReadComplete;
    case Operation::Write:
        return Box::WriteComplete;
    case Operation::Batch:
        return Box::MulWriteComplete;
    }
    return u"";
}
