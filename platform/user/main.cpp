// The process entry off Windows: picks the display backend, opens it, runs the program's
// wWinMain as Windows would, and reports the end to the backend.
#include "user.h"

int main(int, char**)
{
    const qp::Backend& backend = qp::ActiveBackend();
    int width = 0, height = 0;
    // Without a display the backend prints why; CreateWindowExW then fails and wWinMain returns 0.
    bool hasDisplay = backend.open(width, height);
    qp::user::SetScreen(backend, hasDisplay, width, height);
    static WCHAR emptyCommandLine[] = L"";
    int code = wWinMain(GetModuleHandleW(nullptr), nullptr, emptyCommandLine, SW_SHOWDEFAULT);
    backend.finish(code, qp::LiveObjectCount());
    return code;
}
