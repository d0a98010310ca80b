#include "ui/corner_placement.h"

namespace ombrelo::ui {

Placement corner_placement(float screen_width, float screen_height, float width, float height,
                           bool bottom_left, bool bottom_right) {
  Placement p;
  p.top = screen_height - height;
  // Two separate tests, as the option group may have neither (or, from a
  // hand-edited file, both) set.
  if (bottom_left) p.left = 0.0f;
  if (bottom_right) p.left = screen_width - width;
  return p;
}

}  // namespace ombrelo::ui
