#include "ui/corner_placement.h"

namespace ombrelo::ui {

Placement corner_placement(int screen_width, int screen_height, int width, int height,
                           Corner corner) {
  Placement p;
  p.top = screen_height - height;
  if (corner == Corner::bottom_left) p.left = 0;
  if (corner == Corner::bottom_right) p.left = screen_width - width;
  return p;
}

}  // namespace ombrelo::ui
