#include "panel/panel.h"

// Placeholder until the control tables are laid out.
Panel::Panel(QWidget* parent) : QWidget(parent) { loadPictures(); }
