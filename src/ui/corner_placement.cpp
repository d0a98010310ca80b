#include "ui/corner_placement.h"

namespace ombrelo::ui {

Placement corner_placement(float screen_width, float screen_height, float width, float height,
                           Corner corner) {
  Placement p;
  p.top = screen_height - height;
  if (corner == Corner::bottom_left) p.left = 0.0f;
  if (corner == Corner::bottom_right) p.left = screen_width - width;
  return p;
}

}  // namespace ombrelo::ui
