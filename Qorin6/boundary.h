// Qorin6's shared declarations: the program globals, the two scene functions that the entry
// runs in turn, the drawing of each scene's waves and ticks, and the region boxes and the
// readout of the refractive index that both scenes use.
#pragma once

#include "shell.h"

// The scene to run next: 1, 2, or 0 to end the program.
extern int sceneNumber;
// W x H surface with the picture that does not move; each scene repaints it at its start.
extern HDC sceneSurface;

// Scene 1: the wave comes from the medium on the left and leaves into vacuum on the right.
void RunMediumToVacuumScene(MSG& msg, HACCEL hAccelTable);
// Scene 2: the wave comes from vacuum on the left and enters the medium on the right.
void RunVacuumToMediumScene(MSG& msg, HACCEL hAccelTable);

// The incident, reflected and transmitted waves and the wavelength ticks of each scene, drawn
// into backBuffer. A is the wave scale, n the refractive index, t the phase.
void DrawMediumToVacuumWaves(double A, double n, double t, double transmission, double reflection);
void DrawVacuumToMediumWaves(double A, double n, double t, double transmission, double reflection);
// Ticks on the axis y0 every step pixels, from first while beyond the limit: leftwards (step < 0)
// while x > limit, rightwards while x < limit. Each position truncates the previous one plus
// the step, so the rounding carries over from tick to tick.
void DrawTickRun(double y0, int first, double step, int limit, int halfLength);

// The two region boxes and the axis through them, on a surface.
void DrawMediumVacuumBoxes(HDC target, double A);
void DrawVacuumMediumBoxes(HDC target, double A);
// The text of 1 + value ("1.00" to "2.00") at (x, y).
void DrawIndexReadout(HDC target, int x, int y, double value, COLORREF colour);
