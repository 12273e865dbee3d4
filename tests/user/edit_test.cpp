// The child edit control: what typed keys and clicks do to its text and caret, the EN_CHANGE
// reports its parent gets (typed or written), where mouse messages go, and the pixels it leaves
// on its parent. The control stands at (160, 585), 40 x 20, as the phase field of the programs.
#include <gtest/gtest.h>

#include "../../platform/user/user.h"

#include <cwchar>
#include <string>
#include <vector>

namespace {

using qp::InputEvent;

struct Report {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::wstring text;  // the control's text as the parent reads it inside a WM_COMMAND
};

std::vector<Report> parentGot;

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    Report r{message, wParam, lParam, {}};
    if (message == WM_COMMAND) {
        wchar_t text[80];
        GetWindowTextW(reinterpret_cast<HWND>(lParam), text, 80);
        r.text = text;
    }
    parentGot.push_back(r);
    return DefWindowProcW(window, message, wParam, lParam);
}

constexpr int kLeft = 160, kTop = 585, kWidth = 40, kHeight = 20;
constexpr int kTextLeft = kLeft + 2;  // 1-px border, 1-px margin
constexpr COLORREF kGreen = RGB(0, 255, 0);

InputEvent Mouse(InputEvent::Type type, int x, int y)
{
    InputEvent e;
    e.type = type;
    e.x = x;
    e.y = y;
    return e;
}

InputEvent KeyDown(int vk, char32_t ch = 0)
{
    InputEvent e;
    e.type = InputEvent::KeyDown;
    e.vk = vk;
    e.ch = ch;
    return e;
}

std::vector<InputEvent> Click(int x)
{
    return {Mouse(InputEvent::MouseDown, x, kTop + 10), Mouse(InputEvent::MouseUp, x, kTop + 10)};
}

std::vector<InputEvent> Typed(const std::u32string& text)
{
    std::vector<InputEvent> events;
    for (char32_t c : text) {
        InputEvent e;
        e.type = InputEvent::Text;
        e.ch = c;
        events.push_back(e);
    }
    return events;
}

std::vector<InputEvent> operator+(std::vector<InputEvent> a, const std::vector<InputEvent>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const InputEvent backspace = KeyDown(VK_BACK, 0x08), del = KeyDown(VK_DELETE), left = KeyDown(VK_LEFT),
                 right = KeyDown(VK_RIGHT), up = KeyDown(VK_UP), down = KeyDown(VK_DOWN), home = KeyDown(VK_HOME),
                 end = KeyDown(VK_END), enter = KeyDown(VK_RETURN, U'\r'), escape = KeyDown(VK_ESCAPE, 0x1B);

class EditTest : public testing::Test {
protected:
    void SetUp() override
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = ParentProc;
            wc.lpszClassName = L"QorinEditParent";
            ASSERT_NE(RegisterClassExW(&wc), 0);
            registered = true;
        }
        qp::user::PumpInput();
        qp::user::ResetInput();
        parent = CreateWindowExW(0, L"QorinEditParent", L"parent", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                 GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        ShowWindow(parent, SW_SHOWDEFAULT);
        // A green window, so every pixel the control draws shows.
        HDC dc = GetDC(parent);
        HBRUSH green = CreateSolidBrush(kGreen);
        HGDIOBJ oldBrush = SelectObject(dc, green);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        Rectangle(dc, 0, 0, 2000, 2000);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(green);
    }
    void TearDown() override
    {
        DestroyWindow(parent);
        qp::user::ResetInput();
    }

    HWND MakeEdit(const wchar_t* text, DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER)
    {
        HWND edit = CreateWindowExW(0, L"edit", text, style, kLeft, kTop, kWidth, kHeight, parent,
                                    reinterpret_cast<HMENU>(1), nullptr, nullptr);
        parentGot.clear();
        return edit;
    }

    // Feeds the events as a backend would, each one's messages dispatched before the next comes;
    // all at once, every event is queued first, as when input piles up during a slow frame.
    void Feed(const std::vector<InputEvent>& events, bool allAtOnce = false)
    {
        for (size_t i = 0; i < events.size(); ++i) {
            qp::user::TranslateInput(events[i]);
            if (allAtOnce && i + 1 < events.size())
                continue;
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    }

    std::vector<std::wstring> ChangesReported(HWND edit)
    {
        std::vector<std::wstring> texts;
        for (const Report& r : parentGot)
            if (r.message == WM_COMMAND) {
                EXPECT_EQ(r.wParam, MAKEWPARAM(1, EN_CHANGE));
                EXPECT_EQ(r.lParam, reinterpret_cast<LPARAM>(edit));
                texts.push_back(r.text);
            }
        return texts;
    }

    COLORREF Pixel(int x, int y) { return GetPixel(GetDC(parent), x, y); }

    std::wstring Text(HWND edit)
    {
        wchar_t text[80];
        GetWindowTextW(edit, text, 80);
        return text;
    }

    HWND parent = nullptr;
};

struct TypingCase {
    const char* name;
    const wchar_t* start;
    std::vector<InputEvent> events;
    std::vector<std::wstring> reported;  // the text at each EN_CHANGE, in order
    const wchar_t* result;
    size_t caret;
};

// In the system font '0' and every digit advance 8 px, '.' 4 px: "0.000" is 36 px, exactly the
// room between the margins, and the boundaries of "0.000" stand at 162, 170, 174, 182, 190, 198.
const TypingCase typingCases[] = {
    {"backspaces empty the line, then digits come in one at a time", L"0.000",
     Click(199) + std::vector{backspace, backspace, backspace, backspace, backspace, backspace} + Typed(U"1.5"),
     {L"0.00", L"0.0", L"0.", L"0", L"", L"1", L"1.", L"1.5"}, L"1.5", 3},
    {"a full line takes no more characters", L"0.000", Click(199) + Typed(U"1"), {}, L"0.000", 5},
    {"arrows, home and end move the caret, delete takes the character after it", L"0.000",
     Click(199) + std::vector{home, del, right, right, backspace, up, down, end, left} + Typed(U"5"),
     {L".000", L".00", L".050"}, L".050", 3},
    {"nothing to take at either end", L"12", Click(161) + std::vector{backspace, left, end, del, right}, {}, L"12", 2},
    {"control characters are not typed; letters, signs and blanks are", L"",
     Click(170) + std::vector{enter, escape} + Typed(U"-a+ "), {L"-", L"-a", L"-a+", L"-a+ "}, L"-a+ ", 4},
    {"a click between '0' and '.' ties and goes left", L"0.000", Click(172) + std::vector{backspace}, {L".000"},
     L".000", 0},
    {"a click one pixel further goes right", L"0.000", Click(173) + std::vector{backspace}, {L"0000"}, L"0000", 1},
};

void PrintTo(const TypingCase& c, std::ostream* out)
{
    *out << c.name;
}

class Typing : public EditTest, public testing::WithParamInterface<TypingCase> {};

TEST_P(Typing, ChangesTheTextAndReportsEachChange)
{
    const TypingCase& c = GetParam();
    HWND edit = MakeEdit(c.start);
    ASSERT_NE(edit, nullptr);
    Feed(c.events);
    EXPECT_EQ(ChangesReported(edit), c.reported);
    EXPECT_EQ(Text(edit), c.result);
    EXPECT_EQ(qp::user::LiveWindow(edit)->caret, c.caret);
}

INSTANTIATE_TEST_SUITE_P(Edit, Typing, testing::ValuesIn(typingCases), [](const auto& info) {
    std::string name;
    for (const char* c = info.param.name; *c; ++c)
        name += isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
    return name;
});

TEST_F(EditTest, KeysReachItOnlyOnceAClickGaveItTheFocus)
{
    HWND edit = MakeEdit(L"0.000");
    Feed(std::vector{end, backspace} + Typed(U"7"));
    EXPECT_EQ(Text(edit), L"0.000");
    EXPECT_TRUE(ChangesReported(edit).empty());
    bool parentGotTheCharacter = false;
    for (const Report& r : parentGot)
        parentGotTheCharacter |= r.message == WM_CHAR && r.wParam == '7';
    EXPECT_TRUE(parentGotTheCharacter);

    Feed(Click(199) + std::vector{backspace} + Typed(U"7"));
    EXPECT_EQ(Text(edit), L"0.007");
    // Focus given back to the parent: keys go there again.
    SetFocus(parent);
    Feed(Typed(U"1"));
    EXPECT_EQ(Text(edit), L"0.007");

    // Keys queued behind the click, before the click was handled, still follow it into the field.
    Feed(Click(199) + std::vector{backspace} + Typed(U"5"), true);
    EXPECT_EQ(Text(edit), L"0.005");
    SetFocus(parent);
    Feed(Typed(U"2"), true);
    EXPECT_EQ(Text(edit), L"0.005");
}

TEST_F(EditTest, WrittenTextIsReportedAndReadableInsideTheReport)
{
    HWND edit = MakeEdit(L"0.000");
    Feed(Click(199));
    for (const wchar_t* text : {L" 1.25", L"-0.50", L"", L"a longer text than the field shows"}) {
        parentGot.clear();
        EXPECT_TRUE(SetWindowTextW(edit, text));
        EXPECT_EQ(ChangesReported(edit), std::vector<std::wstring>{text});
        EXPECT_EQ(Text(edit), text);
        EXPECT_EQ(qp::user::LiveWindow(edit)->caret, 0u) << "a written text puts the caret at the start";
    }
}

struct RouteCase {
    const char* name;
    std::vector<InputEvent> events;
    // For each queued message: whether it is the control's, and the coordinates it carries.
    struct Routed {
        bool toEdit;
        UINT message;
        int x, y;
    };
    std::vector<Routed> routed;
};

TEST_F(EditTest, MouseMessagesOverItGoToItInItsOwnCoordinates)
{
    const InputEvent::Type move = InputEvent::MouseMove, press = InputEvent::MouseDown, release = InputEvent::MouseUp;
    const RouteCase cases[] = {
        {"inside, at its top left pixel", {Mouse(move, 160, 585)}, {{true, WM_MOUSEMOVE, 0, 0}}},
        {"inside, at its bottom right pixel", {Mouse(move, 199, 604)}, {{true, WM_MOUSEMOVE, 39, 19}}},
        {"just right of it", {Mouse(move, 200, 590)}, {{false, WM_MOUSEMOVE, 200, 590}}},
        {"just above it", {Mouse(move, 170, 584)}, {{false, WM_MOUSEMOVE, 170, 584}}},
        {"pressed inside, released far away: all to the control",
         {Mouse(press, 170, 590), Mouse(move, 300, 300), Mouse(release, 300, 300)},
         {{true, WM_LBUTTONDOWN, 10, 5}, {true, WM_MOUSEMOVE, 140, -285}, {true, WM_LBUTTONUP, 140, -285}}},
        {"pressed outside, released inside: the window does not hold the mouse",
         {Mouse(press, 100, 590), Mouse(move, 170, 590), Mouse(release, 170, 590), Mouse(move, 100, 590)},
         {{false, WM_LBUTTONDOWN, 100, 590},
          {true, WM_MOUSEMOVE, 10, 5},
          {true, WM_LBUTTONUP, 10, 5},
          {false, WM_MOUSEMOVE, 100, 590}}},
    };
    HWND edit = MakeEdit(L"0.000");
    ASSERT_NE(edit, nullptr);
    for (const RouteCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<MSG> queued;
        for (const InputEvent& e : c.events) {
            qp::user::TranslateInput(e);
            // Dispatched one by one, so a press can take hold of the mouse before the next event.
            for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {
                queued.push_back(msg);
                DispatchMessageW(&msg);
            }
        }
        ASSERT_EQ(queued.size(), c.routed.size());
        for (size_t i = 0; i < queued.size(); ++i) {
            EXPECT_EQ(queued[i].hwnd, c.routed[i].toEdit ? edit : parent) << "message " << i;
            EXPECT_EQ(queued[i].message, c.routed[i].message) << "message " << i;
            EXPECT_EQ(queued[i].lParam, MAKELPARAM(c.routed[i].x, c.routed[i].y)) << "message " << i;
        }
    }
}

TEST_F(EditTest, HiddenControlTakesNoMouse)
{
    HWND edit = MakeEdit(L"0.000", WS_CHILD | WS_BORDER);
    ASSERT_NE(edit, nullptr);
    Feed(Click(170) + Typed(U"1"));
    EXPECT_EQ(Text(edit), L"0.000");
    EXPECT_EQ(Pixel(kLeft, kTop), kGreen) << "a hidden control draws nothing";
}

TEST_F(EditTest, DrawsItsFrameTextAndCaretOnTheParentOnly)
{
    ASSERT_NE(MakeEdit(L"0.000"), nullptr);
    struct Probe {
        int x, y;
        COLORREF colour;
    } frame[] = {
        {kLeft, kTop, 0},          {kLeft + 39, kTop, 0},          {kLeft, kTop + 19, 0},
        {kLeft + 39, kTop + 19, 0}, {kLeft + 20, kTop, 0},         {kLeft + 20, kTop + 19, 0},
        {kLeft - 1, kTop, kGreen}, {kLeft + 40, kTop + 10, kGreen}, {kLeft + 20, kTop - 1, kGreen},
        {kLeft + 20, kTop + 20, kGreen}, {kLeft + 1, kTop + 1, RGB(255, 255, 255)},
        {kLeft + 38, kTop + 18, RGB(255, 255, 255)},
    };
    for (const Probe& p : frame)
        EXPECT_EQ(Pixel(p.x, p.y), p.colour) << "at (" << p.x << ", " << p.y << ")";
    // The text is there: dark pixels inside the margins.
    int ink = 0;
    for (int y = kTop + 2; y < kTop + 18; ++y)
        for (int x = kTextLeft; x < kTextLeft + 36; ++x)
            ink += GetRValue(Pixel(x, y)) < 128;
    EXPECT_GT(ink, 20);

    // A click at the start gives the focus with the caret in the margin column, rows 587..602;
    // the focus moving away takes the caret away.
    auto caretRows = [&] {
        int rows = 0;
        for (int y = kTop + 1; y < kTop + 19; ++y)
            rows += Pixel(kTextLeft - 1, y) == 0;
        return rows;
    };
    EXPECT_EQ(caretRows(), 0);
    Feed(Click(kTextLeft));
    EXPECT_EQ(caretRows(), 16);
    EXPECT_EQ(Pixel(kTextLeft - 1, kTop + 2), 0u);
    EXPECT_EQ(Pixel(kTextLeft - 1, kTop + 17), 0u);
    SetFocus(parent);
    EXPECT_EQ(caretRows(), 0);
}

TEST_F(EditTest, AltF4WhileItHasTheKeysClosesTheParent)
{
    HWND edit = MakeEdit(L"0.000");
    ASSERT_NE(edit, nullptr);
    Feed(Click(170));
    InputEvent alt = KeyDown(VK_MENU), f4 = KeyDown(VK_F4);
    alt.alt = f4.alt = true;
    Feed({alt, f4});
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(edit)) << "the control goes with its parent";
}

TEST_F(EditTest, OnlyTheEditClassMakesAChild)
{
    struct Case {
        const wchar_t* className;
        bool withParent;
        bool made;
    } cases[] = {{L"edit", true, true}, {L"EDIT", true, true}, {L"Edit", true, true},
                 {L"static", true, false}, {L"edits", true, false}, {L"edit", false, false}};
    for (const Case& c : cases) {
        HWND child = CreateWindowExW(0, c.className, L"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10,
                                     c.withParent ? parent : nullptr, nullptr, nullptr, nullptr);
        EXPECT_EQ(child != nullptr, c.made) << "class " << std::string(c.className, c.className + wcslen(c.className));
    }
}

}  // namespace
