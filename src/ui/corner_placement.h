#pragma once

#include <optional>

#include "settings/settings.h"

namespace ombrelo::ui {

// Where the display goes on start (and again when the screen changes
// size), in the screen's pixels: on the screen's bottom edge, at the left edge for
// bottom-left, at the right edge for bottom-right, and with its left
// unchanged (nullopt) when no corner is chosen.
struct Placement {
  int top = 0;
  std::optional<int> left;
};
Placement corner_placement(int screen_width, int screen_height, int width, int height,
                           Corner corner);

}  // namespace ombrelo::ui
