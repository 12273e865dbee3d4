// Input to messages: what each backend event queues, the accelerators, the key state that
// GetAsyncKeyState reports, and the close chain that ends in WM_DESTROY.
#include "fixture.h"

#include "../../platform/user/keys.h"

namespace {

using qp::InputEvent;

constexpr LPARAM alt = LPARAM(1) << 29;
constexpr LPARAM released = (LPARAM(1) << 30) | (LPARAM(1) << 31);

InputEvent Mouse(InputEvent::Type type, int button, int x, int y, bool shift = false, bool ctrl = false)
{
    InputEvent e;
    e.type = type;
    e.button = button;
    e.x = x;
    e.y = y;
    e.shift = shift;
    e.ctrl = ctrl;
    return e;
}

InputEvent Key(InputEvent::Type type, int vk, char32_t ch = 0, bool withAlt = false)
{
    InputEvent e;
    e.type = type;
    e.vk = vk;
    e.ch = ch;
    e.alt = withAlt;
    return e;
}

InputEvent Text(char32_t ch)
{
    InputEvent e;
    e.type = InputEvent::Text;
    e.ch = ch;
    return e;
}

InputEvent Close()
{
    InputEvent e;
    e.type = InputEvent::Close;
    return e;
}

struct TranslationCase {
    const char* name;
    std::vector<InputEvent> events;
    std::vector<Received> messages;
};

void PrintTo(const TranslationCase& c, std::ostream* out)
{
    *out << c.name;
}

const InputEvent::Type move = InputEvent::MouseMove, down = InputEvent::MouseDown, up = InputEvent::MouseUp;
const InputEvent::Type keyDown = InputEvent::KeyDown, keyUp = InputEvent::KeyUp;

const TranslationCase translations[] = {
    {"move", {Mouse(move, 0, 10, 20)}, {{WM_MOUSEMOVE, 0, MAKELPARAM(10, 20)}}},
    {"left press and release", {Mouse(down, 0, 5, 6), Mouse(up, 0, 5, 7)},
     {{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6)}, {WM_LBUTTONUP, 0, MAKELPARAM(5, 7)}}},
    {"left press with Shift and Ctrl", {Mouse(down, 0, 1, 2, true, true)},
     {{WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT | MK_CONTROL, MAKELPARAM(1, 2)}}},
    {"right and middle buttons", {Mouse(down, 1, 3, 4), Mouse(down, 2, 3, 4), Mouse(up, 1, 3, 4), Mouse(up, 2, 3, 4)},
     {{WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 4)},
      {WM_MBUTTONDOWN, MK_RBUTTON | MK_MBUTTON, MAKELPARAM(3, 4)},
      {WM_RBUTTONUP, MK_MBUTTON, MAKELPARAM(3, 4)},
      {WM_MBUTTONUP, 0, MAKELPARAM(3, 4)}}},
    {"move with the left button held", {Mouse(down, 0, 1, 1), Mouse(move, 0, 2, 2)},
     {{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 1)}, {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 2)}}},
    {"two clicks stay plain presses", {Mouse(down, 0, 9, 9), Mouse(up, 0, 9, 9), Mouse(down, 0, 9, 9)},
     {{WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 9)},
      {WM_LBUTTONUP, 0, MAKELPARAM(9, 9)},
      {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(9, 9)}}},
    {"largest coordinates", {Mouse(move, 0, 65535, 40000)}, {{WM_MOUSEMOVE, 0, MAKELPARAM(65535, 40000)}}},
    {"letter key with its character", {Key(keyDown, 'A', U'a'), Key(keyUp, 'A')},
     {{WM_KEYDOWN, 'A', 1}, {WM_CHAR, 'a', 1}, {WM_KEYUP, 'A', 1 | released}}},
    {"held key repeats", {Key(keyDown, VK_SPACE), Key(keyDown, VK_SPACE)},
     {{WM_KEYDOWN, VK_SPACE, 1}, {WM_KEYDOWN, VK_SPACE, 1 | (LPARAM(1) << 30)}}},
    {"ALT with '?'",
     {Key(keyDown, VK_MENU, 0, true), Key(keyDown, qp::VK_OEM_2, U'?', true), Key(keyUp, qp::VK_OEM_2, 0, true),
      Key(keyUp, VK_MENU)},
     {{WM_SYSKEYDOWN, VK_MENU, 1 | alt},
      {WM_SYSKEYDOWN, qp::VK_OEM_2, 1 | alt},
      {WM_SYSCHAR, '?', 1 | alt},
      {WM_SYSKEYUP, qp::VK_OEM_2, 1 | alt | released},
      {WM_SYSKEYUP, VK_MENU, 1 | released}}},
    {"ALT+F4", {Key(keyDown, VK_F4, 0, true)}, {{WM_SYSKEYDOWN, VK_F4, 1 | alt}}},
    {"typed text, outside the 16-bit range as a pair", {Text(U'ж'), Text(U'\U0001F600')},
     {{WM_CHAR, 0x436, 1}, {WM_CHAR, 0xD83D, 1}, {WM_CHAR, 0xDE00, 1}}},
    {"close request", {Close()}, {{WM_CLOSE, 0, 0}}},
    {"unknown key and button are ignored", {Key(keyDown, 0), Key(keyDown, 300), Mouse(down, 3, 1, 1)}, {}},
};

class Translation : public WindowTest, public testing::WithParamInterface<TranslationCase> {};

TEST_P(Translation, QueuesTheMessagesOfTheEvents)
{
    for (const InputEvent& e : GetParam().events)
        qp::user::TranslateInput(e);
    std::vector<Received> got;
    for (const MSG& msg : Drain()) {
        EXPECT_EQ(msg.hwnd, window) << "message " << msg.message;
        got.push_back({msg.message, msg.wParam, msg.lParam});
    }
    ASSERT_EQ(got.size(), GetParam().messages.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].message, GetParam().messages[i].message) << "message " << i;
        EXPECT_EQ(got[i].wParam, GetParam().messages[i].wParam) << "message " << i;
        EXPECT_EQ(got[i].lParam, GetParam().messages[i].lParam) << "message " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Input, Translation, testing::ValuesIn(translations),
                         [](const auto& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 name += isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

struct AcceleratorCase {
    UINT message;
    WPARAM character;
    LPARAM lParam;
    bool matches;
};

TEST_F(WindowTest, AcceleratorsMatchTheAltCharactersOnly)
{
    const AcceleratorCase cases[] = {
        {WM_SYSCHAR, '?', 1 | alt, true},  {WM_SYSCHAR, '/', 1 | alt, true},
        {WM_CHAR, '?', 1, false},          {WM_CHAR, '/', 1, false},
        {WM_SYSCHAR, 'x', 1 | alt, false}, {WM_SYSKEYDOWN, qp::VK_OEM_2, 1 | alt, false},
        {WM_SYSKEYDOWN, '?', 1 | alt, false},
    };
    HACCEL table = LoadAcceleratorsW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(109));
    ASSERT_NE(table, nullptr);
    for (const AcceleratorCase& c : cases) {
        received.clear();
        MSG msg{window, c.message, c.character, c.lParam, 0, {}};
        EXPECT_EQ(TranslateAcceleratorW(window, table, &msg), c.matches ? 1 : 0) << c.message << " " << c.character;
        std::vector<Received> expected;
        if (c.matches)
            expected.push_back({WM_COMMAND, MAKEWPARAM(104, 1), 0});
        EXPECT_EQ(received, expected) << c.message << " " << c.character;
    }
    MSG msg{window, WM_SYSCHAR, '?', 1 | alt, 0, {}};
    EXPECT_EQ(TranslateAcceleratorW(window, nullptr, &msg), 0);
    DestroyWindow(window);
    EXPECT_EQ(TranslateAcceleratorW(window, table, &msg), 0);
}

TEST_F(WindowTest, KeyStateReportsDownAndPressedSinceTheLastPoll)
{
    auto poll = [](int vk) { return static_cast<uint16_t>(GetAsyncKeyState(vk)); };
    qp::user::TranslateInput(Key(keyDown, VK_ESCAPE, 0x1B));
    EXPECT_EQ(poll(VK_ESCAPE), 0x8001);
    EXPECT_EQ(poll(VK_SPACE), 0);
    EXPECT_EQ(poll(VK_ESCAPE), 0x8000) << "the pressed bit is cleared by the poll";
    qp::user::TranslateInput(Key(keyUp, VK_ESCAPE));
    EXPECT_EQ(poll(VK_ESCAPE), 0);

    // A tap between two polls is still seen once, as pressed but no longer down.
    qp::user::TranslateInput(Key(keyDown, VK_ESCAPE, 0x1B));
    qp::user::TranslateInput(Key(keyUp, VK_ESCAPE));
    EXPECT_EQ(poll(VK_ESCAPE), 0x0001);
    EXPECT_EQ(poll(VK_ESCAPE), 0);

    // Spinning on a held key (the freeze) keeps seeing it down until its release arrives.
    qp::user::TranslateInput(Key(keyDown, VK_SPACE, U' '));
    EXPECT_EQ(poll(VK_SPACE), 0x8001);
    EXPECT_EQ(poll(VK_SPACE), 0x8000);
    EXPECT_EQ(poll(VK_SPACE), 0x8000);
    qp::user::TranslateInput(Key(keyUp, VK_SPACE));
    EXPECT_EQ(poll(VK_SPACE), 0);
    // The key state is read even while its messages wait in the queue, unread.
    EXPECT_FALSE(Drain().empty());
}

struct CloseCase {
    const char* name;
    std::vector<InputEvent> events;
    bool destroys;
};

TEST_F(WindowTest, CloseRequestsEndInOneDestroy)
{
    const CloseCase cases[] = {
        {"ALT+F4", {Key(keyDown, VK_MENU, 0, true), Key(keyDown, VK_F4, 0, true)}, true},
        {"close event", {Close()}, true},
        {"F4 without ALT", {Key(keyDown, VK_F4)}, false},
        {"ALT+x", {Key(keyDown, VK_MENU, 0, true), Key(keyDown, 'X', U'x', true)}, false},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        for (const InputEvent& e : c.events)
            qp::user::TranslateInput(e);
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        int destroys = static_cast<int>(std::count_if(received.begin(), received.end(),
                                                      [](const Received& r) { return r.message == WM_DESTROY; }));
        EXPECT_EQ(destroys, c.destroys ? 1 : 0);
        EXPECT_EQ(IsWindow(window) != FALSE, !c.destroys);
    }
}

TEST_F(WindowTest, MessagesForADestroyedWindowAreDropped)
{
    PostMessageW(window, WM_MOUSEMOVE, 0, 0);
    DestroyWindow(window);
    received.clear();
    EXPECT_FALSE(PostMessageW(window, WM_MOUSEMOVE, 0, 0));
    qp::user::TranslateInput(Mouse(down, 0, 1, 1));
    EXPECT_TRUE(Drain().empty());
    MSG msg{window, WM_CLOSE, 0, 0, 0, {}};
    EXPECT_EQ(DispatchMessageW(&msg), 0);
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(received.empty());
    EXPECT_FALSE(DestroyWindow(window));
}

TEST_F(WindowTest, QueueKeepsOrderPeeksWithoutWaitingAndEndsOnQuit)
{
    MSG msg;
    // An empty queue answers at once: a wait would have let the runner feed a close request.
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    PostMessageW(window, WM_COMMAND, 105, 0);
    PostQuitMessage(3);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(msg.hwnd, window);
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(DispatchMessageW(&msg), 0);
    EXPECT_TRUE(Drain().empty());
}

TEST_F(WindowTest, GetMessageDoesNotWaitOnceEveryWindowIsGone)
{
    PostQuitMessage(7);
    DestroyWindow(window);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    // Nothing is queued now and nothing could arrive: the quit is reported again, not waited for.
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.wParam, 7u);
}

}  // namespace
