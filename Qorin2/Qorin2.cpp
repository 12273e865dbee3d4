// Qorin2: the polarization of a transverse wave in three scenes, linear, circular and
// elliptical. The entry creates the screen-sized surfaces and runs one scene after another,
// as sceneNumber says, until a scene ends without choosing the next one.
#include "scene.h"

int sceneNumber = 2;
HDC sceneSurface;
HDC sceneBackdrop;

int APIENTRY wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    HACCEL hAccelTable;
    if (!StartMainWindow(instance, showCommand, hAccelTable))
        return 0;
    sceneSurface = CreateScreenSurface();
    sceneBackdrop = CreateScreenSurface();
    backBuffer = CreateScreenSurface();
    MSG msg = {};

    // A scene button may have been pressed while the window was being destroyed; no further
    // scene is started on a window that is gone, since it would clear quitRequested and run on.
    while (sceneNumber > 0 && IsWindow(mainWindow)) {
        switch (sceneNumber) {
        case 2:
            RunLinearScene(&msg, &hAccelTable);
            break;
        case 3:
            RunCircularScene(&msg, &hAccelTable);
            break;
        case 4:
            RunEllipticalScene(&msg, &hAccelTable);
            break;
        default:
            sceneNumber = 0;
            break;
        }
    }
    return (int)msg.wParam;
}
