#pragma once

namespace ombrelo::win32 {

// The settings window's control ids, in tab order; tools that drive the
// window from outside find its controls by them.
enum ControlId : int {
  kText1 = 101,
  kCommand1,
  kLabel1,
  kCommand2,
  kLabel2,
  kCommand3,
  kCommand4,
  kCommand5,
  kOption1,
  kOption2,
  kLabel3,
  kShape1,  // the colour swatches: no tab stops
  kShape2,
};

}  // namespace ombrelo::win32
