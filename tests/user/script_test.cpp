// The headless runner's script: lines that must be refused (with their line number) and lines
// with the events they give.
#include <gtest/gtest.h>

#include "../../platform/backends/headless/script.h"

#include <windows.h>

#include <sstream>

namespace {

using qp::InputEvent;

qp::headless::Script Parse(const std::string& text)
{
    std::istringstream in(text);
    return qp::headless::ParseScript(in);
}

// One event in a form that shows every field a message is made from.
std::string Describe(const qp::headless::ScriptEvent& s)
{
    static const char* types[] = {"move", "down", "up", "keydown", "keyup", "text", "close"};
    const InputEvent& e = s.event;
    std::ostringstream out;
    out << s.after << ' ' << types[e.type];
    if (e.type <= InputEvent::MouseUp)
        out << " b" << e.button << ' ' << e.x << ',' << e.y;
    if (e.type == InputEvent::KeyDown || e.type == InputEvent::KeyUp)
        out << " vk" << e.vk;
    if (e.ch)
        out << " ch" << static_cast<uint32_t>(e.ch);
    if (e.shift)
        out << " shift";
    if (e.ctrl)
        out << " ctrl";
    if (e.alt)
        out << " alt";
    return out.str();
}

struct BadCase {
    const char* script;
    int line;
    const char* reason;  // a part of the reason given
};

TEST(Script, BadLinesAreRefusedWithTheirLineNumber)
{
    const BadCase cases[] = {
        {"1 jump 3 4\n", 1, "unknown action"},
        {"# comment\n\n2 move 1\n", 3, "missing"},
        {"2 move 1 2 3\n", 1, "extra"},
        {"2 move 1 x\n", 1, "bad coordinate"},
        {"2 move -1 5\n", 1, "bad coordinate"},
        {"2 move 65536 5\n", 1, "out of range"},
        {"2 move 1.5 5\n", 1, "bad coordinate"},
        {"x move 1 2\n", 1, "bad frame count"},
        {"-1 move 1 2\n", 1, "bad frame count"},
        {"5 move 1 2\n4 move 1 2\n", 2, "goes back"},
        {"3\n", 1, "missing action"},
        {"1 down 1 2 alt\n", 1, "extra"},
        {"1 down 1 2 shift shift\n", 1, "repeated"},
        {"1 up 1 2 shift\n", 1, "extra"},
        {"1 rdown 1\n", 1, "missing"},
        {"1 keydown Escape\n", 1, "unknown key"},
        {"1 keydown ab\n", 1, "unknown key"},
        {"1 key f4\n", 1, "unknown key"},
        {"1 key\n", 1, "missing"},
        {"1 keyup space enter\n", 1, "extra"},
        {"1 alt\n", 1, "missing"},
        {"1 alt ?/\n", 1, "unknown key"},
        {"1 text\n", 1, "missing"},
        {"1 text   # only a comment\n", 1, "missing"},
        {"1 text \xff\xfe\n", 1, "UTF-8"},
        {"1 close now\n", 1, "extra"},
        {"1 move 1 2\n1 key escape\n2 close 1\n", 3, "extra"},
    };
    for (const BadCase& c : cases) {
        qp::headless::Script s = Parse(c.script);
        EXPECT_EQ(s.errorLine, c.line) << c.script;
        EXPECT_NE(s.error.find(c.reason), std::string::npos) << c.script << " gave: " << s.error;
        EXPECT_TRUE(s.events.empty()) << c.script;
    }
}

struct GoodCase {
    const char* line;
    std::vector<std::string> events;
};

TEST(Script, GoodLinesGiveTheirEvents)
{
    const std::string oem2 = std::to_string(0xBF);
    const GoodCase cases[] = {
        {"0 move 0 65535", {"0 move b0 0,65535"}},
        {"3 down 10 20", {"3 down b0 10,20"}},
        {"3 down 10 20 ctrl shift", {"3 down b0 10,20 shift ctrl"}},
        {"3 up 10 20", {"3 up b0 10,20"}},
        {"3 rdown 1 2", {"3 down b1 1,2"}},
        {"3 rup 1 2", {"3 up b1 1,2"}},
        {"4 keydown escape", {"4 keydown vk27 ch27"}},
        {"4 keyup space", {"4 keyup vk32"}},
        {"4 key enter", {"4 keydown vk13 ch13", "4 keyup vk13"}},
        {"4 key backspace", {"4 keydown vk8 ch8", "4 keyup vk8"}},
        {"4 key left", {"4 keydown vk37", "4 keyup vk37"}},
        {"4 keydown delete", {"4 keydown vk46"}},
        {"4 key home", {"4 keydown vk36", "4 keyup vk36"}},
        {"4 keyup end", {"4 keyup vk35"}},
        {"4 keydown up", {"4 keydown vk38"}},
        {"4 keydown down", {"4 keydown vk40"}},
        {"4 key q", {"4 keydown vk81 ch113", "4 keyup vk81"}},
        {"4 key Q", {"4 keydown vk81 ch81 shift", "4 keyup vk81 shift"}},
        {"4 key 7", {"4 keydown vk55 ch55", "4 keyup vk55"}},
        {"5 alt ?",
         {"5 keydown vk18 alt", "5 keydown vk" + oem2 + " ch63 shift alt", "5 keyup vk" + oem2 + " shift alt",
          "5 keyup vk18"}},
        {"5 alt /", {"5 keydown vk18 alt", "5 keydown vk" + oem2 + " ch47 alt", "5 keyup vk" + oem2 + " alt", "5 keyup vk18"}},
        {"6 text a b", {"6 text ch97", "6 text ch32", "6 text ch98"}},
        {"6 text 1,5°", {"6 text ch49", "6 text ch44", "6 text ch53", "6 text ch176"}},
        {"6 text a#b # comment", {"6 text ch97", "6 text ch35", "6 text ch98"}},
        {"7 close", {"7 close"}},
        {"  8   move   1  2   # trailing comment", {"8 move b0 1,2"}},
        {"# only a comment", {}},
    };
    for (const GoodCase& c : cases) {
        qp::headless::Script s = Parse(std::string(c.line) + "\n");
        ASSERT_EQ(s.errorLine, 0) << c.line << ": " << s.error;
        std::vector<std::string> got;
        for (const auto& e : s.events)
            got.push_back(Describe(e));
        EXPECT_EQ(got, c.events) << c.line;
    }
}

}  // namespace
