#pragma once

#include <optional>

#include "settings/settings.h"

namespace ombrelo::ui {

// Where the display goes on start (and again when the screen changes
// size), in twips: on the screen's bottom edge, at the left edge for
// bottom-left, at the right edge for bottom-right, and with its left
// unchanged (nullopt) when no corner is chosen.
struct Placement {
  float top = 0;
  std::optional<float> left;
};
Placement corner_placement(float screen_width, float screen_height, float width, float height,
                           Corner corner);

}  // namespace ombrelo::ui
