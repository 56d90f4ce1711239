#include "Command.h"

#include <cstdio>

namespace radiosim {

std::string describe(const Command& command) {
    char text[16];
    switch (command.kind) {
    case CommandKind::Program:
        return "PROGRAM";
    case CommandKind::End:
        return "END";
    case CommandKind::Read:
        std::snprintf(text, sizeof text, "R %04X", static_cast<unsigned>(command.address));
        return text;
    case CommandKind::Write:
        std::snprintf(text, sizeof text, "W %04X", static_cast<unsigned>(command.address));
        return text;
    }
    return "?";
}

} // namespace radiosim
