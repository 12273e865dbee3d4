// A small white drawing surface for the GDI tests, and its picture as ASCII art:
// '.' white, '#' black, 'r' red, 'b' blue, 'g' green, '?' any other colour.
#pragma once

#include <windows.h>

#include "gdi/damage.h"
#include "gdi/objects.h"

#include <string>
#include <vector>

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

inline COLORREF ColourOf(char c) {
    switch (c) {
    case '#': return kBlack;
    case 'r': return kRed;
    case 'b': return kBlue;
    case 'g': return kGreen;
    default: return kWhite;
    }
}

inline char CharOf(uint32_t pixel) {
    switch (pixel) {
    case 0xFFFFFF: return '.';
    case 0x000000: return '#';
    case 0xFF0000: return 'r';
    case 0x0000FF: return 'b';
    case 0x00FF00: return 'g';
    default: return '?';
    }
}

struct Canvas {
    HDC dc = nullptr;
    qp::Bitmap* bitmap = nullptr;

    Canvas(int width, int height) : dc(CreateCompatibleDC(nullptr)), bitmap(qp::NewBitmap(width, height, 0xFFFFFF)) {
        SelectObject(dc, static_cast<qp::GdiObject*>(bitmap));
    }
    // A canvas holding an ASCII picture.
    explicit Canvas(const std::vector<std::string>& rows) : Canvas(static_cast<int>(rows[0].size()), static_cast<int>(rows.size())) {
        for (int y = 0; y < bitmap->height; ++y)
            for (int x = 0; x < bitmap->width; ++x) bitmap->Row(y)[x] = qp::ToPixel(ColourOf(rows[y][x]));
        qp::TouchBox(*bitmap, 0, 0, bitmap->width - 1, bitmap->height - 1);  // written behind the layer's back
    }
    ~Canvas() {
        Replace(GetStockObject(BLACK_PEN));
        Replace(GetStockObject(WHITE_BRUSH));
        Replace(GetStockObject(SYSTEM_FONT));
        Replace(CreateCompatibleBitmap(dc, 0, 0));
        DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    // Selects an object and deletes the one it displaces.
    void Replace(HGDIOBJ object) const {
        if (HGDIOBJ old = SelectObject(dc, object)) DeleteObject(old);
    }
    void Pen(int width, COLORREF colour) const { Replace(CreatePen(PS_SOLID, width, colour)); }
    void Brush(COLORREF colour) const { Replace(CreateSolidBrush(colour)); }
    void Line(int x0, int y0, int x1, int y1) const {
        MoveToEx(dc, x0, y0, nullptr);
        LineTo(dc, x1, y1);
    }

    std::vector<std::string> Picture() const {
        std::vector<std::string> rows;
        for (int y = 0; y < bitmap->height; ++y) {
            std::string row;
            for (int x = 0; x < bitmap->width; ++x) row += CharOf(bitmap->Row(y)[x]);
            rows.push_back(row);
        }
        return rows;
    }
};

inline std::string Join(const std::vector<std::string>& rows) {
    std::string out;
    for (const auto& row : rows) out += "    " + row + "\n";
    return out;
}
