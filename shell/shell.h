// The application shell that every Qorin program carries: the globals of the run, the main
// window and its procedure, the surfaces and drawing kit, and the frame loop with its image
// buttons and standard controls. Plain procedural code against the Win32 names only.
#pragma once

#include <windows.h>

#include "resource.h"

// --- Globals of the run (one set per program) ---
extern HINSTANCE instanceHandle;
extern WCHAR windowTitle[100];
extern WCHAR windowClassName[100];
extern int screenWidth;   // W of every layout formula, read once at start
extern int screenHeight;  // H
extern HWND mainWindow;
extern HDC screenDC;      // the window's device context, held until the process ends
extern HDC backBuffer;    // W x H surface on which each frame is composed
extern int mouseX;        // unsigned 16-bit halves of the last mouse message's lParam
extern int mouseY;
extern unsigned int mouseButtons;  // key-state word of the last mouse message; 1 = left button alone
extern bool quitRequested;         // the window was destroyed (or command 105 arrived)

// --- Entry and window ---
// Steps of the entry before the scene: strings, class, window, accelerators, screenDC.
// False when the window cannot be created; the entry then returns 0.
// A program that extends the window procedure passes its own, which hands every message it does
// not take over to MainWindowProc.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool StartMainWindow(HINSTANCE instance, int showCommand, HACCEL& hAccelTable, WNDPROC windowProc = MainWindowProc);
ATOM RegisterMainWindowClass(HINSTANCE instance, WNDPROC windowProc = MainWindowProc);
bool CreateMainWindow(HINSTANCE instance, int showCommand);
bool StoreMouseState(HWND window, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// --- Surfaces and drawing kit ---
HDC CreateSurface(HWND window, HBITMAP bitmap);
// A W x H surface that starts as a copy of what the window shows (backBuffer, sceneSurface, ...).
HDC CreateScreenSurface();
HDC LoadImageSurface(const WCHAR* fileName, double width, double height);
bool DestroySurface(HDC& surface);
bool ReplaceObject(HGDIOBJ object, HDC surface);
void SetColor(COLORREF color, HDC surface);
void SetColors(COLORREF color, COLORREF fillColor, HDC surface);
void DrawCircle(HDC surface, int cx, int cy, int r);
void DrawLine(HDC surface, double x1, double y1, double x2, double y2);
// Copies a whole image (its load size) to (x, y) of a surface.
void DrawImage(HDC target, HDC image, int x, int y, int width, int height);
// trunc(v): a real becomes a pixel by truncation toward zero. Values beyond any screen are
// held at +-1e9 first, so that the conversion is always defined (NaN gives 0).
int Trunc(double v);

// --- Frame loop and image buttons ---
enum FrameForm { SleepFirst, SleepLast };

// The loop test: true when Escape is down or was pressed since the last test, or quitRequested.
bool LoopShouldEnd();
bool IsMouseOver(int x, int y, int width, int height);
void WaitForRelease(MSG& msg, HACCEL hAccelTable);
void FinishFrame(MSG& msg, HACCEL hAccelTable, DWORD delay, FrameForm form);
// One pass of a waiting pump: wait for a message, then translate and dispatch it.
void PumpOneMessage(MSG& msg, HACCEL hAccelTable);

// The frame and hit test of an image button of w x h at (x, y), drawn on backBuffer with the pen
// and brush current there: the 3-px hover frame, or the 1-px frame. On a press it runs the
// pressed look (if any), waits for the release and returns true: the caller applies the effect
// and then copies the face, so a face that shows state already shows the new one.
bool ImageButtonPressed(int x, int y, int width, int height, MSG& msg, HACCEL hAccelTable,
                        void (*pressedLook)(int x, int y) = nullptr);
// The start/pause button (150 x 50): blanks its face and shows the frame while held, flips paused.
void StartPauseButton(bool& paused, HDC dc_s, HDC dc_p, int x, int y, MSG& msg, HACCEL hAccelTable);
// The exit button (150 x 50): true when pressed; the caller leaves its loop at once.
bool ExitButton(HDC face, int x, int y, MSG& msg, HACCEL hAccelTable);
// A covered area: a press inside it (no frame) waits for the release and returns true.
bool AreaClicked(int x, int y, int width, int height, MSG& msg, HACCEL hAccelTable);
// A white panel with a black outline over (left, top, right, bottom), with the caption on it.
void DrawCover(int left, int top, int right, int bottom, HDC dc_pto, int captionX, int captionY);

// The standard slider: track (143 x 50) at (barOffset + 435, H - 55), a 16 x 16 thumb whose left
// edge is at barOffset + 442 + k*value, k = 160*divisor/100 pixels per unit.
struct SliderScale {
    int barOffset;
    double divisor;   // value = n / divisor, n the thumb's position in 1.6-px steps
    int grab;         // 0: the thumb's left edge follows the pointer; 8: its centre does
    double maximum;
    double minimum;   // taken when the value comes out 0 or less
};
// Handles a drag of the thumb (drawn straight onto the screen while it lasts), then copies the
// track to backBuffer and draws the thumb there with the current pen and brush.
void Slider(double& value, const SliderScale& scale, HDC dc_scr, MSG& msg, HACCEL hAccelTable);
