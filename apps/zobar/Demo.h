// The built-in demo design: the bar as a user first sees it, with several groups, one that
// scrolls, one with a background picture, icons of the project's own and a selected button.
#pragma once

#include "control/ZoButtonBar.h"

namespace zobar {

// Fills a new instance (after InitProperties) with the demo's groups and buttons.
void BuildDemo(zo::ZoButtonBar& bar);

}  // namespace zobar
