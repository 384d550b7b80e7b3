#include "output/outputactions.h"

#include "app/frmmain.h"

OutputActions::OutputActions(frmmain &window) : m(window) {}
