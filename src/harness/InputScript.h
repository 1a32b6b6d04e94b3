// An input script: the commands that steer a run (keys, characters, the pen, a game
// controller's buttons, rotation, activation, screenshots, quitting), one a line, with
// waits in device milliseconds. Every line is checked before anything runs. A key is a name
// or a virtual-key code; a single digit is the digit's key, so codes below 10 are written
// with a leading zero.
#pragma once

#include <string>
#include <vector>

#include "harness/ScriptCommand.h"

namespace vornel {

class InputScript final {
public:
    static constexpr int32_t kLongestWait = 3600000;  // one hour, in milliseconds
    static constexpr int32_t kLargestCoordinate = 4095;

    // Parses the text of a script named name (for messages). On a malformed line answers
    // false with one line "script NAME:LINE: what is wrong" in error.
    static bool parse(const std::string& text, const std::string& name, InputScript& script, std::string& error);
    // Reads and parses the file; a file that cannot be read is reported the same way, line 0.
    static bool load(const std::string& path, InputScript& script, std::string& error);

    const std::string& name() const { return m_name; }
    const std::vector<ScriptCommand>& commands() const { return m_commands; }
    bool empty() const { return m_commands.empty(); }
    // The line of the first tap or drag, 0 when the script never uses the pen.
    int32_t firstPenLine() const;

private:
    std::string m_name;
    std::vector<ScriptCommand> m_commands;
};

}  // namespace vornel
