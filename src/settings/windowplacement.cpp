#include "settings/windowplacement.h"

#include "app/frmmain.h"

WindowPlacement::WindowPlacement(frmmain &window) : m(window) {}

void WindowPlacement::RestoreWindowPlacement() {}

void WindowPlacement::SaveWindowPlacement() {}
