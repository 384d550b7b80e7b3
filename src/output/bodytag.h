#pragma once

#include "color/colortargets.h"

#include <QString>

// The BODY start tag on one line; the image's bare name (empty for none)
// goes into BACKGROUND, escaped for the attribute and kept on the line.
QString bodyTag(const PageColors &colors);
