// Picks the display backend once, at the first call (main makes it): QORIN_VIDEO=headless
// selects the scripted runner, anything else the SDL desktop window.
#include "backend.h"

#include <cstdlib>
#include <cstring>

namespace qp {

const Backend& ActiveBackend()
{
    static const Backend& chosen = [] () -> const Backend& {
        const char* video = std::getenv("QORIN_VIDEO");
        return video && std::strcmp(video, "headless") == 0 ? headlessBackend : sdlBackend;
    }();
    return chosen;
}

}  // namespace qp
