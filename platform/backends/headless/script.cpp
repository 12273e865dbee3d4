// Parser of the headless runner's script. A line gives one or more input events, all with the
// line's AFTER; '#' at the start of a word begins a comment. Anything unexpected refuses the
// line, so a typo never runs as a silently different test.
#include "script.h"

#include "../../user/keys.h"

#include <windows.h>

#include <sstream>

namespace qp::headless {
namespace {

struct LineError {
    std::string reason;
};

// Decodes UTF-8; a malformed sequence refuses the line.
std::u32string Decode(const std::string& text)
{
    std::u32string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (extra < 0)
            throw LineError{"bad UTF-8"};
        char32_t value = extra == 0 ? c : c & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= text.size())
                throw LineError{"bad UTF-8"};
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next >> 6) != 2)
                throw LineError{"bad UTF-8"};
            value = (value << 6) | (next & 0x3F);
        }
        if (value > 0x10FFFF)
            throw LineError{"bad UTF-8"};
        out += value;
        i += extra + 1;
    }
    return out;
}

long Number(const std::string& word, long maximum, const char* what)
{
    if (word.empty() || word.size() > 10 || word.find_first_not_of("0123456789") != std::string::npos)
        throw LineError{std::string("bad ") + what + " '" + word + "'"};
    long value = std::stol(word);
    if (value > maximum)
        throw LineError{std::string(what) + " out of range: " + word};
    return value;
}

struct Key {
    int vk = 0;
    char32_t ch = 0;
    bool shift = false;
};

Key KeyNamed(const std::string& name)
{
    static const struct {
        const char* name;
        int vk;
        char32_t ch;
    } named[] = {
        {"escape", VK_ESCAPE, 0x1B}, {"space", VK_SPACE, U' '}, {"enter", VK_RETURN, U'\r'},
        {"backspace", VK_BACK, 0x08}, {"left", VK_LEFT, 0}, {"right", VK_RIGHT, 0}, {"delete", VK_DELETE, 0},
        {"up", VK_UP, 0}, {"down", VK_DOWN, 0}, {"home", VK_HOME, 0}, {"end", VK_END, 0},
    };
    for (const auto& n : named)
        if (name == n.name)
            return {n.vk, n.ch, false};
    std::u32string chars = Decode(name);
    if (chars.size() == 1) {
        KeyOfChar key = KeyForChar(chars[0]);
        if (key.vk)
            return {key.vk, chars[0], key.shift};
    }
    throw LineError{"unknown key '" + name + "'"};
}

void Expect(const std::vector<std::string>& args, size_t count)
{
    if (args.size() < count)
        throw LineError{"missing argument"};
    if (args.size() > count)
        throw LineError{"extra argument '" + args[count] + "'"};
}

InputEvent Mouse(InputEvent::Type type, int button, const std::vector<std::string>& args)
{
    InputEvent e;
    e.type = type;
    e.button = button;
    e.x = static_cast<int>(Number(args[0], 65535, "coordinate"));
    e.y = static_cast<int>(Number(args[1], 65535, "coordinate"));
    return e;
}

InputEvent KeyEvent(InputEvent::Type type, const Key& key, bool alt)
{
    InputEvent e;
    e.type = type;
    e.vk = key.vk;
    e.shift = key.shift;
    e.alt = alt;
    if (type == InputEvent::KeyDown)
        e.ch = key.ch;
    return e;
}

// The events of one line without its AFTER. rest is the text after the action word.
std::vector<InputEvent> LineEvents(const std::string& action, const std::vector<std::string>& args,
                                   const std::string& rest)
{
    if (action == "move") {
        Expect(args, 2);
        return {Mouse(InputEvent::MouseMove, 0, args)};
    }
    if (action == "down") {
        if (args.size() < 2)
            throw LineError{"missing argument"};
        InputEvent e = Mouse(InputEvent::MouseDown, 0, args);
        for (size_t i = 2; i < args.size(); ++i) {
            bool* flag = args[i] == "shift" ? &e.shift : args[i] == "ctrl" ? &e.ctrl : nullptr;
            if (!flag)
                throw LineError{"extra argument '" + args[i] + "'"};
            if (*flag)
                throw LineError{"repeated '" + args[i] + "'"};
            *flag = true;
        }
        return {e};
    }
    if (action == "up" || action == "rdown" || action == "rup") {
        Expect(args, 2);
        bool up = action != "rdown";
        return {Mouse(up ? InputEvent::MouseUp : InputEvent::MouseDown, action == "up" ? 0 : 1, args)};
    }
    if (action == "keydown" || action == "keyup" || action == "key") {
        Expect(args, 1);
        Key key = KeyNamed(args[0]);
        if (action == "keydown")
            return {KeyEvent(InputEvent::KeyDown, key, false)};
        if (action == "keyup")
            return {KeyEvent(InputEvent::KeyUp, key, false)};
        return {KeyEvent(InputEvent::KeyDown, key, false), KeyEvent(InputEvent::KeyUp, key, false)};
    }
    if (action == "text") {
        if (rest.empty())
            throw LineError{"missing argument"};
        std::vector<InputEvent> events;
        for (char32_t c : Decode(rest)) {
            InputEvent e;
            e.type = InputEvent::Text;
            e.ch = c;
            events.push_back(e);
        }
        return events;
    }
    if (action == "alt") {
        Expect(args, 1);
        std::u32string chars = Decode(args[0]);
        KeyOfChar key = chars.size() == 1 ? KeyForChar(chars[0]) : KeyOfChar{};
        if (!key.vk)
            throw LineError{"unknown key '" + args[0] + "'"};
        Key alt{VK_MENU, 0, false};
        Key k{key.vk, chars[0], key.shift};
        InputEvent altUp = KeyEvent(InputEvent::KeyUp, alt, false);
        return {KeyEvent(InputEvent::KeyDown, alt, true), KeyEvent(InputEvent::KeyDown, k, true),
                KeyEvent(InputEvent::KeyUp, k, true), altUp};
    }
    if (action == "close") {
        Expect(args, 0);
        InputEvent e;
        e.type = InputEvent::Close;
        return {e};
    }
    throw LineError{"unknown action '" + action + "'"};
}

// Cuts the comment: a '#' at the start of the line or after a blank.
std::string WithoutComment(const std::string& line)
{
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t'))
            return line.substr(0, i);
    return line;
}

std::string Trimmed(const std::string& s)
{
    size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    size_t last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

}  // namespace

Script ParseScript(std::istream& in)
{
    Script script;
    std::string raw;
    long previousAfter = 0;
    for (int lineNumber = 1; std::getline(in, raw); ++lineNumber) {
        std::string line = Trimmed(WithoutComment(raw));
        if (line.empty())
            continue;
        try {
            std::istringstream words(line);
            std::string afterWord, action;
            words >> afterWord >> action;
            long after = Number(afterWord, 1000000000, "frame count");
            if (action.empty())
                throw LineError{"missing action"};
            if (after < previousAfter)
                throw LineError{"frame count goes back from " + std::to_string(previousAfter)};
            // The rest of the line after the action word and its blanks: text's typed characters.
            std::string rest;
            std::getline(words, rest);
            rest = Trimmed(rest);
            std::vector<std::string> args;
            std::istringstream argWords(rest);
            for (std::string w; argWords >> w;)
                args.push_back(w);
            for (const InputEvent& e : LineEvents(action, args, rest))
                script.events.push_back({after, e});
            previousAfter = after;
        } catch (const LineError& e) {
            script.events.clear();
            script.errorLine = lineNumber;
            script.error = e.reason;
            return script;
        }
    }
    return script;
}

}  // namespace qp::headless
