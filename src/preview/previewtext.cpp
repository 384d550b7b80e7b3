#include "preview/previewtext.h"

#include "app/frmmain.h"

PreviewText::PreviewText(frmmain &window) : m(window) {}
