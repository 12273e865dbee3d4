// Qorin3's own drawing functions: the unchanging axes and flux panel drawn once onto
// sceneSurface, and the moving fields with the panel borders drawn into every frame.
// Qorin5 has functions of the same names with its own constants; these are Qorin3's.
#pragma once

#include "shell.h"

extern HDC sceneSurface;  // the W x H picture that never changes during the run

// The oblique three-axis frame (travel to the right, E up, H down-left) and its labels.
// Leaves the grey 2-px pen selected on sceneSurface.
void DrawSpaceAxes(HDC dc_k, HDC dc_E, HDC dc_H);
// The lower panel's frame, its flux axis and vertical axis with their labels.
void DrawFluxPanel(HDC dc_sL, HDC dc_k, double A);
// E and H curves with their arrows, the flux curve, and the flux arrows while the panel is open.
void DrawTravellingWave(double A, double phase, bool fluxPanelOpen);
// The white strip along the right edge and the black frames of both panels; leaves black set.
void DrawPanelBorders(double A);
