// Qorin5's own drawing: the three-axis frame, the density and flux panels drawn once onto
// sceneSurface, and the standing wave with its arrows and the panel borders drawn every frame.
#pragma once

#include "shell.h"

extern HDC sceneSurface;  // W x H: the picture that never changes, copied under every frame

void DrawSpaceAxes(HDC dc_k, HDC dc_E, HDC dc_H);
void DrawDensityPanel(HDC dc_sW, HDC dc_k, double A);
void DrawFluxPanel(HDC dc_sL, HDC dc_k, double A);
void DrawStandingWave(double A, double phase, double electricFactor, double magneticFactor, bool fluxPanelOpen);
void DrawPanelBorders(double A);
