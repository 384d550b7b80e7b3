#include "platform/desktop.h"

#include <cstdio>
#include <cstdlib>

namespace platform {

namespace {
Desktop *g_desktop = nullptr;
}

Desktop &desktop()
{
    if (g_desktop == nullptr) {
        std::fputs("dudovuvov: no desktop backend installed\n", stderr);
        std::abort();
    }
    return *g_desktop;
}

void setDesktop(Desktop *d)
{
    g_desktop = d;
}

} // namespace platform
