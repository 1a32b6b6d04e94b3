// Parsing of input scripts, one line at a time.
#include "harness/InputScript.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "core/PlainNumber.h"
#include "device/ControllerButton.h"
#include "platform/VirtualKey.h"

namespace vornel {
namespace {

constexpr int32_t kLargestCode = 255;

// The words of a line up to a comment: a word that starts with '#' ends the line, except
// where a character is expected (char #), which is why the caller says how many words may
// be taken literally after the command.
std::vector<std::string> wordsOf(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream stream(line);
    std::string word;
    while (stream >> word) {
        const bool isCharArgument = words.size() == 1 && words[0] == "char";
        if (word[0] == '#' && !isCharArgument) {
            break;
        }
        words.push_back(word);
    }
    return words;
}

bool isNumeric(const std::string& word) {
    return !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
}

class LineParser {
public:
    LineParser(const std::vector<std::string>& words, ScriptCommand& command) : m_words(words), m_command(command) {}

    // Fills the command from the words; false with what is wrong in m_problem.
    bool parse();
    const std::string& problem() const { return m_problem; }

private:
    bool fail(std::string problem) {
        m_problem = std::move(problem);
        return false;
    }
    bool expectArguments(std::size_t count, const char* shape);
    bool parseKeyCode(const std::string& word, int32_t& code);
    bool parseCoordinates(std::size_t first, std::size_t count);
    bool parseWait();
    bool parseKey();
    bool parsePress();
    bool parseButton();
    bool parseChar();
    bool parseActivate();
    bool parseScreenshot();

    const std::vector<std::string>& m_words;
    ScriptCommand& m_command;
    std::string m_problem;
};

bool LineParser::parse() {
    const std::string& name = m_words[0];
    using Kind = ScriptCommand::Kind;
    if (name == "wait") {
        return parseWait();
    }
    if (name == "key") {
        return parseKey();
    }
    if (name == "press") {
        return parsePress();
    }
    if (name == "button") {
        return parseButton();
    }
    if (name == "char") {
        return parseChar();
    }
    if (name == "tap") {
        m_command.kind = Kind::Tap;
        return expectArguments(2, "tap X Y") && parseCoordinates(1, 2);
    }
    if (name == "drag") {
        m_command.kind = Kind::Drag;
        return expectArguments(4, "drag X1 Y1 X2 Y2") && parseCoordinates(1, 4);
    }
    if (name == "rotate") {
        m_command.kind = Kind::Rotate;
        return expectArguments(0, "rotate");
    }
    if (name == "activate") {
        return parseActivate();
    }
    if (name == "screenshot") {
        return parseScreenshot();
    }
    if (name == "quit") {
        m_command.kind = Kind::Quit;
        return expectArguments(0, "quit");
    }
    return fail("unknown command '" + name + "'");
}

bool LineParser::expectArguments(std::size_t count, const char* shape) {
    if (m_words.size() - 1 != count) {
        return fail(std::string("expected '") + shape + "'");
    }
    return true;
}

// A single digit names the digit's key; a longer number is a code (08 for code 8).
bool LineParser::parseKeyCode(const std::string& word, int32_t& code) {
    if (word.size() > 1 && isNumeric(word)) {
        if (!PlainNumber::parse(word, 1, kLargestCode, code)) {
            return fail("key code " + word + " is not within 1..255");
        }
        return true;
    }
    code = VirtualKey::fromName(word);
    if (code == 0) {
        return fail("unknown key '" + word + "'");
    }
    return true;
}

bool LineParser::parseCoordinates(std::size_t first, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (!PlainNumber::parse(m_words[first + i], 0, InputScript::kLargestCoordinate, m_command.values[i])) {
            return fail("coordinate '" + m_words[first + i] + "' is not within 0.." +
                        std::to_string(InputScript::kLargestCoordinate));
        }
    }
    return true;
}

bool LineParser::parseWait() {
    m_command.kind = ScriptCommand::Kind::Wait;
    if (!expectArguments(1, "wait MS")) {
        return false;
    }
    if (!PlainNumber::parse(m_words[1], 0, InputScript::kLongestWait, m_command.values[0])) {
        return fail("wait time '" + m_words[1] + "' is not a number of milliseconds within 0.." +
                    std::to_string(InputScript::kLongestWait));
    }
    return true;
}

bool LineParser::parseKey() {
    if (!expectArguments(2, "key down|up NAME|CODE")) {
        return false;
    }
    if (m_words[1] == "down") {
        m_command.kind = ScriptCommand::Kind::KeyDown;
    } else if (m_words[1] == "up") {
        m_command.kind = ScriptCommand::Kind::KeyUp;
    } else {
        return fail("expected 'key down' or 'key up', not 'key " + m_words[1] + "'");
    }
    return parseKeyCode(m_words[2], m_command.values[0]);
}

bool LineParser::parsePress() {
    m_command.kind = ScriptCommand::Kind::Press;
    return expectArguments(1, "press NAME|CODE") && parseKeyCode(m_words[1], m_command.values[0]);
}

bool LineParser::parseButton() {
    if (!expectArguments(2, "button down|up|press NAME")) {
        return false;
    }
    using Kind = ScriptCommand::Kind;
    const std::string& action = m_words[1];
    if (action == "down") {
        m_command.kind = Kind::ButtonDown;
    } else if (action == "up") {
        m_command.kind = Kind::ButtonUp;
    } else if (action == "press") {
        m_command.kind = Kind::ButtonPress;
    } else {
        return fail("expected 'button down', 'button up' or 'button press', not 'button " + action + "'");
    }
    m_command.values[0] = ControllerButton::fromName(m_words[2]);
    if (m_command.values[0] == 0) {
        return fail("unknown button '" + m_words[2] + "' (a b start dpad-up dpad-down dpad-left dpad-right)");
    }
    return true;
}

// One character stands for itself; a longer word is a character code.
bool LineParser::parseChar() {
    m_command.kind = ScriptCommand::Kind::Char;
    if (!expectArguments(1, "char C")) {
        return false;
    }
    const std::string& word = m_words[1];
    if (word.size() == 1) {
        m_command.values[0] = static_cast<uint8_t>(word[0]);
        return true;
    }
    if (!PlainNumber::parse(word, 1, kLargestCode, m_command.values[0])) {
        return fail("'" + word + "' is neither one character nor a character code within 1..255");
    }
    return true;
}

bool LineParser::parseActivate() {
    m_command.kind = ScriptCommand::Kind::Activate;
    if (!expectArguments(1, "activate on|off")) {
        return false;
    }
    if (m_words[1] != "on" && m_words[1] != "off") {
        return fail("expected 'activate on' or 'activate off', not 'activate " + m_words[1] + "'");
    }
    m_command.values[0] = m_words[1] == "on" ? 1 : 0;
    return true;
}

bool LineParser::parseScreenshot() {
    m_command.kind = ScriptCommand::Kind::Screenshot;
    if (!expectArguments(1, "screenshot FILE.png")) {
        return false;
    }
    const std::string& file = m_words[1];
    if (file.size() < 5 || file.compare(file.size() - 4, 4, ".png") != 0) {
        return fail("screenshot file '" + file + "' does not end in .png");
    }
    m_command.file = file;
    return true;
}

}  // namespace

bool InputScript::parse(const std::string& text, const std::string& name, InputScript& script, std::string& error) {
    InputScript parsed;
    parsed.m_name = name;
    std::istringstream lines(text);
    std::string line;
    int32_t lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const std::vector<std::string> words = wordsOf(line);
        if (words.empty()) {
            continue;
        }
        ScriptCommand command;
        command.line = lineNumber;
        LineParser parser(words, command);
        if (!parser.parse()) {
            error = "script " + name + ":" + std::to_string(lineNumber) + ": " + parser.problem();
            return false;
        }
        parsed.m_commands.push_back(std::move(command));
    }
    script = std::move(parsed);
    return true;
}

bool InputScript::load(const std::string& path, InputScript& script, std::string& error) {
    std::error_code failure;
    std::ifstream file(path, std::ios::binary);
    if (std::filesystem::is_directory(path, failure) || !file) {
        error = "script " + path + ":0: cannot be read";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        error = "script " + path + ":0: cannot be read";
        return false;
    }
    return parse(text.str(), path, script, error);
}

int32_t InputScript::firstPenLine() const {
    for (const ScriptCommand& command : m_commands) {
        if (command.kind == ScriptCommand::Kind::Tap || command.kind == ScriptCommand::Kind::Drag) {
            return command.line;
        }
    }
    return 0;
}

}  // namespace vornel
