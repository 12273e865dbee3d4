// Surfaces (a memory device context with one bitmap) and the small drawing kit every program
// uses: load and destroy images, replace drawing objects so none is ever leaked, set colours,
// draw circles and lines.
#include "shell.h"

HDC CreateSurface(HWND window, HBITMAP bitmap)
{
    HDC windowDC = GetDC(window);
    HDC surface = CreateCompatibleDC(windowDC);
    // What this displaces is the platform's 1 x 1 placeholder: it is not ours to delete.
    SelectObject(surface, bitmap);
    ReleaseDC(window, windowDC);
    return surface;
}

HDC CreateScreenSurface()
{
    HDC surface = CreateCompatibleDC(screenDC);
    SelectObject(surface, CreateCompatibleBitmap(screenDC, screenWidth, screenHeight));
    BitBlt(surface, 0, 0, screenWidth, screenHeight, screenDC, 0, 0, SRCCOPY);
    return surface;
}

HDC LoadImageSurface(const WCHAR* fileName, double width, double height)
{
    HBITMAP bitmap = (HBITMAP)LoadImageW(nullptr, fileName, IMAGE_BITMAP, Trunc(width), Trunc(height),
                                         LR_LOADFROMFILE);
    if (!bitmap)
        return nullptr;
    return CreateSurface(mainWindow, bitmap);
}

bool DestroySurface(HDC& surface)
{
    if (!surface)
        return false;
    if (GetObjectType(GetCurrentObject(surface, OBJ_BITMAP)) == 0)
        return false;
    ReplaceObject(GetStockObject(NULL_PEN), surface);
    ReplaceObject(GetStockObject(NULL_BRUSH), surface);
    ReplaceObject(GetStockObject(SYSTEM_FONT), surface);
    // A 0 x 0 request gives the 1 x 1 placeholder, which pushes out (and so deletes) the bitmap.
    ReplaceObject(CreateCompatibleBitmap(surface, 0, 0), surface);
    DeleteDC(surface);
    surface = nullptr;
    return true;
}

bool ReplaceObject(HGDIOBJ object, HDC surface)
{
    HGDIOBJ displaced = SelectObject(surface, object);
    if (!displaced) {
        // Not selected (no surface): the new object would otherwise be lost and live on.
        DeleteObject(object);
        return false;
    }
    DeleteObject(displaced);
    return true;
}

void SetColor(COLORREF color, HDC surface)
{
    ReplaceObject(CreatePen(PS_SOLID, 1, color), surface);
    ReplaceObject(CreateSolidBrush(color), surface);
    SetTextColor(surface, color);
}

void SetColors(COLORREF color, COLORREF fillColor, HDC surface)
{
    ReplaceObject(CreatePen(PS_SOLID, 1, color), surface);
    ReplaceObject(CreateSolidBrush(fillColor), surface);
    SetTextColor(surface, color);
}

void DrawCircle(HDC surface, int cx, int cy, int r)
{
    Ellipse(surface, cx - r, cy - r, cx + r, cy + r);
}

void DrawLine(HDC surface, double x1, double y1, double x2, double y2)
{
    MoveToEx(surface, Trunc(x1), Trunc(y1), nullptr);
    LineTo(surface, Trunc(x2), Trunc(y2));
}

void DrawImage(HDC target, HDC image, int x, int y, int width, int height)
{
    BitBlt(target, x, y, width, height, image, 0, 0, SRCCOPY);
}

int Trunc(double v)
{
    if (!(v == v))
        return 0;
    if (v > 1e9)
        return 1000000000;
    if (v < -1e9)
        return -1000000000;
    return (int)v;
}
