// The headless runner's input script: one event per line, "AFTER ACTION ARGS", where AFTER is
// the number of frames ended before the line's events are fed to the program.
#pragma once

#include "../backend.h"

#include <istream>
#include <string>
#include <vector>

namespace qp::headless {

struct ScriptEvent {
    long after = 0;
    InputEvent event;
};

struct Script {
    std::vector<ScriptEvent> events;
    int errorLine = 0;  // 0: the whole script was read
    std::string error;  // short reason for the refused line
};

// Reads a whole script; stops at the first bad line and reports it.
Script ParseScript(std::istream& in);

}  // namespace qp::headless
