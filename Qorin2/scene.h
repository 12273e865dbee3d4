// Qorin2's program globals and the pieces its three scenes share: the scene images, the scene
// start, the frame's opening and closing steps, the axis diagrams and the turning-vector helpers
// of the circular and elliptical scenes. Each scene function runs one scene until it ends.
#pragma once

#include "shell.h"

extern int sceneNumber;     // the scene to run next: 2, 3 or 4; 0 ends the program
extern HDC sceneSurface;    // the scene picture and the traces drawn so far
extern HDC sceneBackdrop;   // the scene picture as it was before any trace

void RunLinearScene(MSG* msg, HACCEL* hAccelTable);
void RunCircularScene(MSG* msg, HACCEL* hAccelTable);
void RunEllipticalScene(MSG* msg, HACCEL* hAccelTable);

void DrawSpaceAxes(HDC dc_k, HDC dc_Y, HDC dc_X);
void DrawPlaneAxes(HDC dc_Y, HDC dc_X);

// The nine images every scene run loads and destroys.
struct SceneImages {
    HDC dc_X, dc_Y, dc_k, dc_2, dc_3, dc_4, dc_e, dc_s, dc_p;
};
SceneImages LoadSceneImages();
void DestroySceneImages(SceneImages& images);

// The white page with the title banner; the scene then adds its shapes and the diagrams.
void StartScenePage(const WCHAR* titleFile);
// The scene picture is complete: the loop may run, and the backdrop keeps a copy of it.
void FinishSceneStart();
// Copies the scene picture into backBuffer and handles the exit button; false when it was
// pressed (the loop ends at once and the frame is not shown).
bool OpenFrame(const SceneImages& images, MSG* msg, HACCEL* hAccelTable);
// The scene buttons, start/pause, presentation and the frame's end with its sleep.
void CloseFrame(int scene, const SceneImages& images, bool& paused, DWORD delay, MSG* msg, HACCEL* hAccelTable);

// (H - 190)/4 - 25: the amplitude, the circle's radius, of every scene.
double SceneAmplitude();

// A solid pen made current on a surface; the one it replaces is deleted.
void UsePen(HDC surface, int width, COLORREF color);

// The circular and elliptical scenes: the cylinder the helix winds on, the tip's path, the two
// components and the helix with its shade.
struct Cylinder {
    double leftEndWidth;   // the left end ellipse is this wide and 2A high
    double rightFaceLeft;  // the right end face spans W - 20 - rightFaceLeft .. W - 20 - rightFaceRight
    double rightFaceRight;
};
void DrawCylinder(const Cylinder& cylinder);
void DrawLightAxis(const Cylinder& cylinder);
struct Point {
    int x = 0, y = 0;
};
void TraceTip(Point& previousTip, int xT, int yT);
void DrawComponents(int cx, int y0, int xT, int yT);
void HelixStep(Point& previousHelix, int xH, int yH, double theta);
