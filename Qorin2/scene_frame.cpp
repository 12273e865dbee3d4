// The frame the three scenes share: their images, the white page with its title, the copy
// that later erases the traces, the exit button at the top right, the three scene buttons
// down the left edge (the running scene's one grey and inert) and start/pause at the bottom.
#include "scene.h"

static const COLORREF white = RGB(255, 255, 255);
static const COLORREF black = RGB(0, 0, 0);
static const COLORREF grey = RGB(150, 150, 150);

SceneImages LoadSceneImages()
{
    SceneImages images;
    images.dc_X = LoadImageSurface(L"X.bmp", 40, 40);
    images.dc_Y = LoadImageSurface(L"Y.bmp", 40, 40);
    images.dc_k = LoadImageSurface(L"k2.bmp", 40, 40);
    images.dc_2 = LoadImageSurface(L"2.bmp", 180, 100);
    images.dc_3 = LoadImageSurface(L"3.bmp", 180, 100);
    images.dc_4 = LoadImageSurface(L"4.bmp", 180, 100);
    images.dc_e = LoadImageSurface(L"ex.bmp", 150, 50);
    images.dc_s = LoadImageSurface(L"s.bmp", 150, 50);
    images.dc_p = LoadImageSurface(L"p.bmp", 150, 50);
    return images;
}

void DestroySceneImages(SceneImages& images)
{
    DestroySurface(images.dc_X);
    DestroySurface(images.dc_Y);
    DestroySurface(images.dc_k);
    DestroySurface(images.dc_2);
    DestroySurface(images.dc_3);
    DestroySurface(images.dc_4);
    DestroySurface(images.dc_e);
    DestroySurface(images.dc_s);
    DestroySurface(images.dc_p);
}

double SceneAmplitude()
{
    return (screenHeight - 190) / 4 - 25;
}

void UsePen(HDC surface, int width, COLORREF color)
{
    ReplaceObject(CreatePen(PS_SOLID, width, color), surface);
}

void StartScenePage(const WCHAR* titleFile)
{
    SetColor(white, sceneSurface);
    Rectangle(sceneSurface, 0, 0, screenWidth, screenHeight);
    HDC dc_top = LoadImageSurface(titleFile, 600, 80);
    DrawImage(sceneSurface, dc_top, 10, 10, 600, 80);
    DestroySurface(dc_top);
}

void FinishSceneStart()
{
    quitRequested = false;
    BitBlt(sceneBackdrop, 0, 0, screenWidth, screenHeight, sceneSurface, 0, 0, SRCCOPY);
}

bool OpenFrame(const SceneImages& images, MSG* msg, HACCEL* hAccelTable)
{
    BitBlt(backBuffer, 0, 0, screenWidth, screenHeight, sceneSurface, 0, 0, SRCCOPY);
    SetColor(black, backBuffer);
    return !ExitButton(images.dc_e, screenWidth - 171, 10, *msg, *hAccelTable);
}

void CloseFrame(int scene, const SceneImages& images, bool& paused, DWORD delay, MSG* msg, HACCEL* hAccelTable)
{
    const HDC faces[3] = {images.dc_2, images.dc_3, images.dc_4};
    for (int row = 0; row < 3; ++row) {
        const int buttonScene = row + 2, y = 110 + 110 * row;
        if (buttonScene == scene) {
            // The running scene's button: the 3-px frame in grey, never hit-tested.
            SetColor(grey, backBuffer);
            Rectangle(backBuffer, 7, y - 3, 193, y + 103);
        } else {
            SetColor(black, backBuffer);
            if (ImageButtonPressed(10, y, 180, 100, *msg, *hAccelTable)) {
                sceneNumber = buttonScene;
                quitRequested = true;
            }
        }
        DrawImage(backBuffer, faces[row], 10, y, 180, 100);
    }

    SetColor(black, backBuffer);
    StartPauseButton(paused, images.dc_s, images.dc_p, 11, screenHeight - 55, *msg, *hAccelTable);

    BitBlt(screenDC, 0, 0, screenWidth, screenHeight, backBuffer, 0, 0, SRCCOPY);
    FinishFrame(*msg, *hAccelTable, delay, SleepFirst);
}
