// What both scenes of Qorin6 share: loading and releasing their pictures, painting the
// unchanging picture, and the frame loop with the exit and scene-switch buttons, the index and
// speed sliders, minus, plus and start/pause. Each scene brings its own files, boxes and waves.
#include "boundary.h"

namespace {

const COLORREF black = RGB(0, 0, 0);
const COLORREF white = RGB(255, 255, 255);
const COLORREF switchBoxGrey = RGB(100, 100, 100);
const COLORREF readoutColour = RGB(50, 100, 100);

struct SceneLook {
    int scene;               // 1 or 2
    const WCHAR* file1;      // dc_1: button to scene 2 in scene 1, title of scene 2 in scene 2
    const WCHAR* file2;      // dc_2: title of scene 1 in scene 1, button to scene 1 in scene 2
    const WCHAR* fileTop;
    void (*drawBoxes)(HDC target, double A);
    bool mediumOnLeft;
    double (*transmission)(double indexExcess);
    void (*drawWaves)(double A, double n, double t, double transmission, double reflection);
};

// Normal incidence from index n into 1, and from 1 into n.
double OutOfMediumTransmission(double indexExcess) { return (indexExcess + 1) * 2 / (indexExcess + 2); }
double IntoMediumTransmission(double indexExcess) { return 2 / (indexExcess + 2); }

const SceneLook mediumToVacuum = {1,     L"11.bmp", L"2.bmp", L"top1.bmp", DrawMediumVacuumBoxes,
                                  true,  OutOfMediumTransmission, DrawMediumToVacuumWaves};
const SceneLook vacuumToMedium = {2,     L"1.bmp", L"22.bmp", L"top2.bmp", DrawVacuumMediumBoxes,
                                  false, IntoMediumTransmission, DrawVacuumToMediumWaves};

struct SceneImages {
    HDC dc_1, dc_2, dc_s, dc_p, dc_e, dc_pl, dc_min, dc_scr, dc_scr1, dc_top;
};

SceneImages LoadSceneImages(const SceneLook& look)
{
    SceneImages images;
    images.dc_1 = LoadImageSurface(look.file1, 200, 50);
    images.dc_2 = LoadImageSurface(look.file2, 200, 50);
    images.dc_s = LoadImageSurface(L"s.bmp", 150, 50);
    images.dc_p = LoadImageSurface(L"p.bmp", 150, 50);
    images.dc_e = LoadImageSurface(L"e.bmp", 150, 50);
    images.dc_pl = LoadImageSurface(L"+.bmp", 50, 50);
    images.dc_min = LoadImageSurface(L"-.bmp", 50, 50);
    images.dc_scr = LoadImageSurface(L"scr.bmp", 143, 50);
    images.dc_scr1 = LoadImageSurface(L"scr1.bmp", 347, 50);
    images.dc_top = LoadImageSurface(look.fileTop, 600, 80);
    return images;
}

void DestroySceneImages(SceneImages& images)
{
    DestroySurface(images.dc_1);
    DestroySurface(images.dc_2);
    DestroySurface(images.dc_s);
    DestroySurface(images.dc_p);
    DestroySurface(images.dc_e);
    DestroySurface(images.dc_pl);
    DestroySurface(images.dc_min);
    DestroySurface(images.dc_scr);
    DestroySurface(images.dc_scr1);
    DestroySurface(images.dc_top);
}

// A label is loaded, copied once onto the scene's picture and released at once.
void PaintLabel(const WCHAR* file, int x, int y)
{
    HDC label = LoadImageSurface(file, 200, 50);
    DrawImage(sceneSurface, label, x, y, 200, 50);
    DestroySurface(label);
}

void PaintSceneSurface(const SceneLook& look, HDC dc_top, double A)
{
    const int W = screenWidth, H = screenHeight;
    SetColor(white, sceneSurface);
    Rectangle(sceneSurface, 0, 0, W, H);
    DrawImage(sceneSurface, dc_top, 10, 0, 600, 80);
    look.drawBoxes(sceneSurface, A);
    // The labels stand just below the boxes, each under its own region.
    const int labelY = Trunc(2 * A + 180);
    PaintLabel(L"sred.bmp", look.mediumOnLeft ? W / 2 - 250 : W / 2 + 50, labelY);
    PaintLabel(L"vak.bmp", look.mediumOnLeft ? W / 2 + 50 : W / 2 - 250, labelY);
    // The frame around the index slider and its readout.
    SetColors(black, white, sceneSurface);
    Rectangle(sceneSurface, 11, H - 120, 442, H - 60);
}

// One pass of a thumb drag, straight onto the window: the track and a white thumb with a
// black outline.
void DrawDragPass(HDC track, int trackX, int trackY, int trackWidth, double thumbLeft, int thumbTop)
{
    SetColors(black, white, screenDC);
    DrawImage(screenDC, track, trackX, trackY, trackWidth, 50);
    Rectangle(screenDC, Trunc(thumbLeft), thumbTop, Trunc(thumbLeft + 16), thumbTop + 16);
}

bool ThumbGrabbed(double thumbLeft, int thumbTop)
{
    return IsMouseOver(Trunc(thumbLeft), thumbTop, 16, 16) && mouseButtons == 1;
}

// The index slider sets indexExcess = n - 1 in steps of 0.05; the thumb's centre follows the
// pointer, 800/7 pixels per unit, so n = 1 to 2 spans about 114 pixels.
void IndexSlider(double& indexExcess, int barOffset, HDC dc_scr1, MSG& msg, HACCEL hAccelTable)
{
    const int H = screenHeight;
    const int thumbTop = H - 82;
    const int readoutX = barOffset + 550, readoutY = H - 115;
    if (ThumbGrabbed(barOffset + 412 + indexExcess / 7 * 800, thumbTop)) {
        // Ends on the release, or when the window is gone and no release can come.
        while (mouseButtons == 1 && !quitRequested) {
            const int d = mouseX - 8 - (barOffset + 412);
            double v = d * 10.0 / 16;
            v = v / 500;
            v = v * 7;
            indexExcess = Trunc(v * 20) / 20.0;
            if (indexExcess < 0)
                indexExcess = 0;
            if (indexExcess > 1)
                indexExcess = 1;
            DrawDragPass(dc_scr1, 12, H - 115, 347, barOffset + 412 + indexExcess / 7 * 800, thumbTop);
            DrawIndexReadout(screenDC, readoutX, readoutY, indexExcess, readoutColour);
            PumpOneMessage(msg, hAccelTable);
        }
    }
    DrawImage(backBuffer, dc_scr1, 12, H - 115, 347, 50);
    const double thumbLeft = barOffset + 412 + indexExcess / 7 * 800;
    Rectangle(backBuffer, Trunc(thumbLeft), thumbTop, Trunc(thumbLeft + 16), thumbTop + 16);
    DrawIndexReadout(backBuffer, readoutX, readoutY, indexExcess, readoutColour);
}

// The speed slider: 160 pixels per unit up to 0.7, 0.001 at the far left; the pointer stands
// for the thumb's centre.
void SpeedSlider(double& speed, int barOffset, HDC dc_scr, MSG& msg, HACCEL hAccelTable)
{
    const int H = screenHeight;
    const int trackX = barOffset + 435, trackY = H - 55, thumbTop = H - 22;
    const int x0 = barOffset + 442;
    if (ThumbGrabbed(x0 + speed * 160, thumbTop)) {
        while (mouseButtons == 1 && !quitRequested) {
            const int n = (mouseX - 8 - x0) * 100 / 160;
            speed = n / 100.0;
            if (speed > 0.7)
                speed = 0.7;
            if (speed <= 0)
                speed = 0.001;
            DrawDragPass(dc_scr, trackX, trackY, 143, x0 + speed * 160, thumbTop);
            PumpOneMessage(msg, hAccelTable);
        }
    }
    DrawImage(backBuffer, dc_scr, trackX, trackY, 143, 50);
    const double thumbLeft = x0 + speed * 160;
    Rectangle(backBuffer, Trunc(thumbLeft), thumbTop, Trunc(thumbLeft + 16), thumbTop + 16);
}

void RunScene(const SceneLook& look, MSG& msg, HACCEL hAccelTable)
{
    const int W = screenWidth, H = screenHeight;
    quitRequested = false;
    // From here on the end of the scene ends the program, unless a switch button says otherwise.
    sceneNumber = 0;
    SceneImages images = LoadSceneImages(look);

    double phase = 0;
    double speed = 0.06;
    bool paused = true;
    const int barOffset = -190;
    const double waveScale = (H - 190) / 4;

    PaintSceneSurface(look, images.dc_top, waveScale);
    double indexExcess = 0.7;

    // Scene 1's slot at (W - 210, H - 120), scene 2's at (W - 210, H - 60): the running scene's
    // slot shows its title in a grey box, the other is the button to the other scene.
    const bool first = look.scene == 1;
    HDC switchFace = first ? images.dc_1 : images.dc_2;
    HDC titleFace = first ? images.dc_2 : images.dc_1;
    const int switchY = first ? H - 60 : H - 120;
    const int titleY = first ? H - 120 : H - 60;
    const int otherScene = first ? 2 : 1;

    while (!LoopShouldEnd()) {
        const double transmission = look.transmission(indexExcess);
        const double reflection = indexExcess / (indexExcess + 2);

        BitBlt(backBuffer, 0, 0, W, H, sceneSurface, 0, 0, SRCCOPY);

        SetColor(black, backBuffer);
        if (ExitButton(images.dc_e, W - 171, 10, msg, hAccelTable))
            break;

        look.drawWaves(waveScale, indexExcess + 1, phase, transmission, reflection);

        // The switch takes effect after this frame: the loop test then sees quitRequested.
        SetColor(black, backBuffer);
        if (ImageButtonPressed(W - 210, switchY, 200, 50, msg, hAccelTable)) {
            sceneNumber = otherScene;
            quitRequested = true;
        }
        DrawImage(backBuffer, switchFace, W - 210, switchY, 200, 50);
        SetColor(switchBoxGrey, backBuffer);
        Rectangle(backBuffer, W - 213, titleY - 3, W - 7, titleY + 53);
        DrawImage(backBuffer, titleFace, W - 210, titleY, 200, 50);
        DrawImage(backBuffer, titleFace, W / 2 - 100, 100, 200, 50);

        SetColor(black, backBuffer);
        IndexSlider(indexExcess, barOffset, images.dc_scr1, msg, hAccelTable);

        SetColor(black, backBuffer);
        if (ImageButtonPressed(barOffset + 381, H - 55, 50, 50, msg, hAccelTable)) {
            if (speed > 0.01)
                speed = speed - 0.01;
            else
                speed = 0.001;
        }
        DrawImage(backBuffer, images.dc_min, barOffset + 381, H - 55, 50, 50);
        // The test comes before the step, so speed can end up to 0.01 above 0.7.
        if (ImageButtonPressed(barOffset + 581, H - 55, 50, 50, msg, hAccelTable)) {
            if (speed < 0.7)
                speed = speed + 0.01;
        }
        DrawImage(backBuffer, images.dc_pl, barOffset + 581, H - 55, 50, 50);
        SpeedSlider(speed, barOffset, images.dc_scr, msg, hAccelTable);

        SetColor(black, backBuffer);
        StartPauseButton(paused, images.dc_s, images.dc_p, barOffset + 201, H - 55, msg, hAccelTable);

        if (!paused)
            phase = phase - speed / 2;

        BitBlt(screenDC, 0, 0, W, H, backBuffer, 0, 0, SRCCOPY);
        FinishFrame(msg, hAccelTable, 10, SleepFirst);
    }

    DestroySceneImages(images);
}

}  // namespace

void RunMediumToVacuumScene(MSG& msg, HACCEL hAccelTable) { RunScene(mediumToVacuum, msg, hAccelTable); }

void RunVacuumToMediumScene(MSG& msg, HACCEL hAccelTable) { RunScene(vacuumToMedium, msg, hAccelTable); }
