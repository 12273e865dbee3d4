// Qorin6: reflection and transmission of a light wave at the boundary between vacuum and a
// medium of adjustable refractive index. The entry creates the two screen-sized surfaces and
// runs one scene after another as sceneNumber says; a scene's end with sceneNumber 0 ends it.
#include "boundary.h"

int sceneNumber = 1;
HDC sceneSurface;

int APIENTRY wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int showCommand)
{
    HACCEL hAccelTable;
    if (!StartMainWindow(instance, showCommand, hAccelTable))
        return 0;
    sceneSurface = CreateScreenSurface();
    backBuffer = CreateScreenSurface();
    MSG msg = {};

    // A switch back to scene 1 runs it at the next pass. A window destroyed while a switch
    // button was held, or in the frame that switched, leaves nothing to show the next scene on.
    while (sceneNumber > 0 && IsWindow(mainWindow)) {
        if (sceneNumber == 1)
            RunMediumToVacuumScene(msg, hAccelTable);
        if (sceneNumber == 2 && IsWindow(mainWindow))
            RunVacuumToMediumScene(msg, hAccelTable);
    }
    return (int)msg.wParam;
}
