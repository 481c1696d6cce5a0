#include "panel/panel.h"

// Filled in together with the picture loader.
void Panel::loadPictures() {}
