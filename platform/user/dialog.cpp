// The modal About box: DialogBoxParamW draws it over the owner's pixels at (0, 0), runs its own
// message loop until EndDialog (or until the box or its owner is destroyed), then puts back the
// pixels it covered and frees every drawing object it made.
#include "about_box.h"
#include "user.h"

#include "resource.h"
#include "template.h"

namespace qp::user {
namespace {

bool IsMouseMessage(UINT message)
{
    return message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK;
}

// The box's window procedure: the dialog procedure first; what it leaves alone gets the default
// handling, except that a close request cancels the box instead of destroying it.
LRESULT CALLBACK DialogWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window* w = LiveWindow(dialog);
    if (!w)
        return 0;
    if (w->dialogProc(dialog, message, wParam, lParam))
        return TRUE;
    if (message == WM_CLOSE) {
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return 0;
    }
    return DefWindowProcW(dialog, message, wParam, lParam);
}

// The pixels of the box, composed off screen and copied onto the owner's device context, and
// the owner's pixels it covers.
class BoxSurface {
public:
    BoxSurface(HDC ownerDc, int width, int height) : owner(ownerDc), width(width), height(height)
    {
        box = MemorySurface(boxBitmap, oldBoxBitmap);
        saved = MemorySurface(savedBitmap, oldSavedBitmap);
        BitBlt(saved, 0, 0, width, height, owner, 0, 0, SRCCOPY);
    }
    ~BoxSurface()
    {
        BitBlt(owner, 0, 0, width, height, saved, 0, 0, SRCCOPY);
        Free(box, boxBitmap, oldBoxBitmap);
        Free(saved, savedBitmap, oldSavedBitmap);
    }
    BoxSurface(const BoxSurface&) = delete;
    BoxSurface& operator=(const BoxSurface&) = delete;

    void Show(AboutPart pressed)
    {
        DrawAboutBox(box, qres::ProgramName(), pressed);
        BitBlt(owner, 0, 0, width, height, box, 0, 0, SRCCOPY);
    }

private:
    HDC MemorySurface(HBITMAP& bitmap, HGDIOBJ& old)
    {
        HDC dc = CreateCompatibleDC(owner);
        bitmap = CreateCompatibleBitmap(owner, width, height);
        old = SelectObject(dc, bitmap);
        return dc;
    }
    static void Free(HDC dc, HBITMAP bitmap, HGDIOBJ old)
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    HDC owner;
    int width, height;
    HDC box = nullptr, saved = nullptr;
    HBITMAP boxBitmap = nullptr, savedBitmap = nullptr;
    HGDIOBJ oldBoxBitmap = nullptr, oldSavedBitmap = nullptr;
};

// Keys and the mouse of the box: Enter -> IDOK, Escape -> IDCANCEL; a click on OK -> IDOK, on the
// close box -> IDCANCEL (WM_CLOSE and ALT+F4 cancel through the box's procedure). The box gets
// mouse messages in screen coordinates, its owner none. False: left to the box's procedure.
bool HandleInput(HWND dialog, const MSG& msg, BoxSurface& surface, AboutPart& pressed)
{
    const AboutBoxGeometry& g = AboutBox();
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
        SendMessageW(dialog, WM_COMMAND, msg.wParam == VK_RETURN ? IDOK : IDCANCEL, 0);
        return true;
    }
    if (!IsMouseMessage(msg.message))
        return false;
    int x = LOWORD(msg.lParam), y = HIWORD(msg.lParam);
    AboutPart under = Inside(g.ok, x, y) ? AboutPart::Ok : Inside(g.closeBox, x, y) ? AboutPart::CloseBox : AboutPart::None;
    if (msg.message == WM_LBUTTONDOWN) {
        pressed = under;
        surface.Show(pressed);
    } else if (msg.message == WM_MOUSEMOVE && pressed != AboutPart::None) {
        // A held button looks pressed only while the pointer is over it.
        surface.Show(under == pressed ? pressed : AboutPart::None);
    } else if (msg.message == WM_LBUTTONUP && pressed != AboutPart::None) {
        AboutPart released = pressed;
        pressed = AboutPart::None;
        surface.Show(AboutPart::None);
        if (under == released)
            SendMessageW(dialog, WM_COMMAND, released == AboutPart::Ok ? IDOK : IDCANCEL, 0);
    }
    return true;
}

}  // namespace
}  // namespace qp::user

using namespace qp::user;

INT_PTR WINAPI DialogBoxParamW(HINSTANCE, LPCWSTR templateName, HWND parent, DLGPROC dialogProc, LPARAM initParam)
{
    Window* owner = LiveWindow(parent);
    if (!IS_INTRESOURCE(templateName) || reinterpret_cast<ULONG_PTR>(templateName) != IDD_ABOUTBOX || !dialogProc ||
        !owner || !owner->dc)
        return -1;
    const AboutBoxGeometry& g = AboutBox();
    auto record = std::make_unique<Window>();
    record->className = L"#32770";
    record->text = qres::Fill(qres::aboutTitle, qres::ProgramName());
    record->proc = DialogWindowProc;
    record->dialogProc = dialogProc;
    record->parent = parent;
    record->style = WS_POPUP | WS_SYSMENU | WS_VISIBLE;
    record->width = g.box.right;
    record->height = g.box.bottom;
    HWND dialog = NewWindowRecord(std::move(record));
    HWND outerDialog = ActiveDialog();
    SetActiveDialog(dialog);

    INT_PTR result = 0;
    {
        BoxSurface surface(reinterpret_cast<HDC>(owner->dc), g.box.right, g.box.bottom);
        AboutPart pressed = AboutPart::None;
        surface.Show(pressed);
        // The OK button would take the focus first; its handle is not a window of ours.
        dialogProc(dialog, WM_INITDIALOG, 0, initParam);
        for (;;) {
            Window* box = LiveWindow(dialog);
            if (!box || box->ended || !LiveWindow(parent))
                break;
            PumpInput();
            MSG msg;
            if (!TakeMessage(msg, true)) {
                PresentIfChanged();
                CurrentBackend().wait(-1);
                continue;
            }
            if (msg.message == WM_QUIT) {
                // The quit stays for the caller's loop; the box goes.
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (msg.hwnd == dialog) {
                if (!HandleInput(dialog, msg, surface, pressed))
                    DispatchMessageW(&msg);
            } else if (!IsMouseMessage(msg.message)) {
                DispatchMessageW(&msg);
            }
        }
        if (Window* box = FindWindowRecord(dialog); box && box->ended)
            result = box->result;
    }
    if (Window* box = LiveWindow(dialog))
        box->alive = false;
    SetActiveDialog(outerDialog);
    ForgetWindow(dialog);
    return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result)
{
    Window* box = LiveWindow(dialog);
    if (!box || !box->dialogProc)
        return FALSE;
    box->ended = true;
    box->result = result;
    return TRUE;
}
