// The About box's layout and picture, drawn with our own GDI: a 1-px frame, a title bar with
// the close box, the two text lines and the default OK button at their template places.
#include "about_box.h"

#include "template.h"

#include <string>

namespace qp::user {
namespace {

HFONT DialogFont()
{
    return CreateFontW(aboutFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, qres::aboutFont);
}

// Width of a text line in the dialog font. It is drawn white on white over black: the opaque
// box of the text is exactly as wide as the sum of the advances, and the first black pixel of
// the row through its middle ends it.
int TextWidth(const std::wstring& text)
{
    int capacity = static_cast<int>(text.size()) * aboutFontHeight * 2 + 8;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, capacity, aboutFontHeight);
    HFONT font = DialogFont();
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, OPAQUE);
    TextOutW(dc, 0, 0, text.c_str(), static_cast<int>(text.size()));
    int width = 0;
    while (width < capacity && GetPixel(dc, width, aboutFontHeight / 2) == RGB(255, 255, 255))
        ++width;
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return width;
}

// Dialog units to pixels, rounded to nearest.
int Scale(int units, int base, int divisor)
{
    return (units * base + divisor / 2) / divisor;
}

AboutBoxGeometry Measure()
{
    AboutBoxGeometry g;
    // The average width of the 52 letters in whole pixels: 6 for this face at a 13-px cell,
    // which makes the box the 255 x 101 px client that the template's 170 x 62 units give.
    int letters = TextWidth(L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    g.unitX = letters >= 52 ? letters / 52 : 6;
    g.unitY = aboutFontHeight;
    int clientWidth = Scale(qres::aboutWidth, g.unitX, 4);
    int clientHeight = Scale(qres::aboutHeight, g.unitY, 8);
    g.box = {0, 0, clientWidth + 2 * aboutFrame, clientHeight + aboutCaptionHeight + 2 * aboutFrame};
    g.caption = {aboutFrame, aboutFrame, g.box.right - aboutFrame, aboutFrame + aboutCaptionHeight};
    // A 16 x 14 button, 2 px in from the caption's right end, centred in its height.
    int closeTop = g.caption.top + (aboutCaptionHeight - 14) / 2;
    g.closeBox = {g.caption.right - 2 - 16, closeTop, g.caption.right - 2, closeTop + 14};
    g.client = {aboutFrame, g.caption.bottom, aboutFrame + clientWidth, g.caption.bottom + clientHeight};
    for (const qres::DialogControl& c : qres::aboutControls) {
        int left = g.client.left + Scale(c.x, g.unitX, 4), top = g.client.top + Scale(c.y, g.unitY, 8);
        RECT r{left, top, left + Scale(c.width, g.unitX, 4), top + Scale(c.height, g.unitY, 8)};
        if (c.kind == qres::ControlKind::Icon)
            g.icon = r;
        else if (c.kind == qres::ControlKind::DefaultButton)
            g.ok = r;
        else if (g.firstLine.right == 0)
            g.firstLine = r;
        else
            g.secondLine = r;
    }
    return g;
}

// Each call makes its pen and brush and deletes the pair it displaces, as the programs do.
void Paint(HDC dc, COLORREF outline, COLORREF fill, const RECT& r)
{
    DeleteObject(SelectObject(dc, CreatePen(PS_SOLID, 1, outline)));
    DeleteObject(SelectObject(dc, CreateSolidBrush(fill)));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

void Text(HDC dc, int x, int y, const std::wstring& text, COLORREF color)
{
    SetTextColor(dc, color);
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

const wchar_t* TemplateText(qres::ControlKind kind, int index)
{
    int seen = 0;
    for (const qres::DialogControl& c : qres::aboutControls)
        if (c.kind == kind && seen++ == index)
            return c.text;
    return L"";
}

}  // namespace

const AboutBoxGeometry& AboutBox()
{
    static const AboutBoxGeometry geometry = Measure();
    return geometry;
}

void DrawAboutBox(HDC dc, const wchar_t* programName, AboutPart pressed)
{
    const AboutBoxGeometry& g = AboutBox();
    const COLORREF face = RGB(240, 240, 240), dark = RGB(100, 100, 100), accent = RGB(0, 84, 153);
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);

    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(WHITE_BRUSH));
    HFONT font = DialogFont();
    HGDIOBJ oldFont = SelectObject(dc, font);
    COLORREF oldText = SetTextColor(dc, black);
    int oldMode = SetBkMode(dc, TRANSPARENT);

    Paint(dc, dark, face, g.box);
    Paint(dc, accent, accent, g.caption);
    std::wstring name = programName;
    int textTop = g.caption.top + (aboutCaptionHeight - aboutFontHeight) / 2;
    Text(dc, g.caption.left + 6, textTop, qres::Fill(qres::aboutTitle, name), white);

    // Close box: a face with an x of two 1-px diagonals, 4 px in from its sides.
    const RECT& c = g.closeBox;
    bool closeDown = pressed == AboutPart::CloseBox;
    Paint(dc, dark, closeDown ? RGB(200, 200, 200) : face, c);
    DeleteObject(SelectObject(dc, CreatePen(PS_SOLID, 1, black)));
    int size = c.bottom - c.top - 8, left = c.left + (c.right - c.left - size) / 2, top = c.top + 4;
    MoveToEx(dc, left, top, nullptr);
    LineTo(dc, left + size, top + size);
    MoveToEx(dc, left + size - 1, top, nullptr);
    LineTo(dc, left - 1, top + size);

    Text(dc, g.firstLine.left, g.firstLine.top, qres::Fill(TemplateText(qres::ControlKind::Text, 0), name), black);
    Text(dc, g.secondLine.left, g.secondLine.top, qres::Fill(TemplateText(qres::ControlKind::Text, 1), name), black);

    // The default button: a dark 1-px frame around the face, the caption centred; pressed, the
    // face darkens and the caption moves 1 px right and down.
    bool okDown = pressed == AboutPart::Ok;
    Paint(dc, okDown ? accent : black, okDown ? RGB(204, 228, 247) : RGB(225, 225, 225), g.ok);
    std::wstring okText = qres::Fill(TemplateText(qres::ControlKind::DefaultButton, 0), name);
    static const int okTextWidth = TextWidth(okText);
    int shift = okDown ? 1 : 0;
    Text(dc, g.ok.left + (g.ok.right - g.ok.left - okTextWidth) / 2 + shift,
         g.ok.top + (g.ok.bottom - g.ok.top - aboutFontHeight) / 2 + shift, okText, black);

    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldText);
    SelectObject(dc, oldFont);
    DeleteObject(font);
    DeleteObject(SelectObject(dc, oldPen));
    DeleteObject(SelectObject(dc, oldBrush));
}

}  // namespace qp::user
