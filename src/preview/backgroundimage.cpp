#include "preview/backgroundimage.h"

#include "app/frmmain.h"

BackgroundImage::BackgroundImage(frmmain &window) : m(window) {}
