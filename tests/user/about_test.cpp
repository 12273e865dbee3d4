// The modal About box: each way of closing it gives its result, the owner sees no mouse
// message meanwhile, the pixels under the box come back and no drawing object is left over.
#include "fixture.h"

#include "../../platform/user/about_box.h"

namespace {

using qp::InputEvent;
using qp::user::AboutBox;

struct AboutCase {
    const char* name;
    std::vector<InputEvent> (*events)();  // fed while the box is open
    bool destroyOwner;
    INT_PTR result;
};

void PrintTo(const AboutCase& c, std::ostream* out)
{
    *out << c.name;
}

InputEvent Key(int vk, char32_t ch = 0, bool alt = false, InputEvent::Type type = InputEvent::KeyDown)
{
    InputEvent e;
    e.type = type;
    e.vk = vk;
    e.ch = ch;
    e.alt = alt;
    return e;
}

InputEvent Mouse(InputEvent::Type type, int x, int y)
{
    InputEvent e;
    e.type = type;
    e.x = x;
    e.y = y;
    return e;
}

std::vector<InputEvent> Click(const RECT& r)
{
    int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
    return {Mouse(InputEvent::MouseMove, x, y), Mouse(InputEvent::MouseDown, x, y), Mouse(InputEvent::MouseUp, x, y)};
}

const AboutCase* current = nullptr;
HWND owner = nullptr;
std::vector<Received> dialogReceived;
bool boxWasShown = false;

uint32_t Pattern(int x, int y)
{
    return static_cast<uint32_t>((x * 37 + y * 11) & 0xFF) * 0x010203u;
}

qp::Bitmap& Pixels(HWND window)
{
    return *qp::LookupDc(GetDC(window))->bitmap;
}

bool BoxShown()
{
    const qp::Bitmap& pixels = Pixels(owner);
    const RECT& box = AboutBox().box;
    int differing = 0, all = 0;
    for (int y = box.top; y < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x, ++all)
            differing += pixels.Row(y)[x] != Pattern(x, y);
    // The default button's dark frame is where the layout puts the OK button.
    return differing > all * 9 / 10 && pixels.Row(AboutBox().ok.top)[AboutBox().ok.left] == 0;
}

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    dialogReceived.push_back({message, wParam, lParam});
    if (message == WM_INITDIALOG) {
        for (const InputEvent& e : current->events())
            qp::user::TranslateInput(e);
        if (current->destroyOwner)
            DestroyWindow(owner);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        boxWasShown = BoxShown();
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

class AboutBoxTest : public WindowTest, public testing::WithParamInterface<AboutCase> {};

TEST_P(AboutBoxTest, ClosesWithItsResultAndRestoresThePixels)
{
    const AboutCase& c = GetParam();
    current = &c;
    owner = window;
    dialogReceived.clear();
    boxWasShown = false;
    qp::Bitmap& pixels = Pixels(window);
    for (int y = 0; y < pixels.height; ++y)
        for (int x = 0; x < pixels.width; ++x)
            pixels.Row(y)[x] = Pattern(x, y);
    qp::PixelVector before = pixels.pixels;
    size_t objects = qp::LiveObjectCount();

    INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(103), window, TestDialogProc, 1234);

    EXPECT_EQ(result, c.result);
    ASSERT_FALSE(dialogReceived.empty());
    EXPECT_EQ(dialogReceived[0], (Received{WM_INITDIALOG, 0, 1234}));
    if (!c.destroyOwner) {
        EXPECT_TRUE(boxWasShown);
    }
    EXPECT_TRUE(pixels.pixels == before) << "the pixels under the box were not restored";
    EXPECT_EQ(qp::LiveObjectCount(), objects);
    for (const Received& r : received)
        EXPECT_FALSE(r.message >= WM_MOUSEMOVE && r.message <= WM_MBUTTONDBLCLK) << "owner got mouse message " << r.message;
    EXPECT_EQ(IsWindow(window) == FALSE, c.destroyOwner);
}

InputEvent Close()
{
    InputEvent e;
    e.type = InputEvent::Close;
    return e;
}

// The events are made when the box opens: its geometry is measured with the dialog font.
const AboutCase cases[] = {
    {"Enter", [] { return std::vector{Key(VK_RETURN, U'\r')}; }, false, IDOK},
    {"Escape", [] { return std::vector{Key(VK_ESCAPE, 0x1B)}; }, false, IDCANCEL},
    {"OkClick", [] { return Click(AboutBox().ok); }, false, IDOK},
    {"OkReleasedOutside",
     [] {
         const RECT& ok = AboutBox().ok;
         return std::vector{Mouse(InputEvent::MouseDown, ok.left + 2, ok.top + 2),
                            Mouse(InputEvent::MouseUp, ok.left - 20, ok.top - 20), Key(VK_ESCAPE, 0x1B)};
     },
     false, IDCANCEL},
    {"CloseBoxClick", [] { return Click(AboutBox().closeBox); }, false, IDCANCEL},
    {"CloseRequest", [] { return std::vector{Close()}; }, false, IDCANCEL},
    {"AltF4", [] { return std::vector{Key(VK_MENU, 0, true), Key(VK_F4, 0, true)}; }, false, IDCANCEL},
    {"ClickOutsideThenEnter",
     [] {
         std::vector<InputEvent> events = Click({300, 300, 302, 302});
         events.push_back(Key(VK_RETURN, U'\r'));
         return events;
     },
     false, IDOK},
    {"OwnerDestroyed", [] { return std::vector<InputEvent>{}; }, true, 0},
};

INSTANTIATE_TEST_SUITE_P(Closing, AboutBoxTest, testing::ValuesIn(cases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, EscapeThatClosedTheBoxStaysPressedForTheLoopTest)
{
    current = &cases[1];
    owner = window;
    GetAsyncKeyState(VK_ESCAPE);
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(103), window, TestDialogProc, 0);
    EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE) & 1, 1);
}

TEST_F(WindowTest, OnlyTheAboutTemplateOpens)
{
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(104), window, TestDialogProc, 0), -1);
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(103), nullptr, TestDialogProc, 0), -1);
}

}  // namespace
