// The design-time pictures of the launcher window, drawn in code so that the executable carries them
// without resource files: caption buttons, border strips, the top strip, the logo, the default tile
// picture, the film-strip video button and the missing-program picture.
#pragma once

#include "platform/Picture.h"

namespace launcher::artwork {

platform::Picture MinimiseButton(); // 37 x 37
platform::Picture RestoreButton();  // 37 x 37
platform::Picture ExitButton();     // 37 x 37
platform::Picture TopStrip();       // 6 x 6, stretched across the title bar
platform::Picture SideStrip();      // 9 x 9, stretched along the left and right edges
platform::Picture BottomStrip();    // 18 x 6, stretched along the bottom edge
platform::Picture Logo();           // 154 x 60
platform::Picture DefaultTile();    // 32 x 32, the picture of tile slot 0 before any fill
platform::Picture VideoButton();    // 20 x 21, a small film strip
platform::Picture MissingProgram(); // 64 x 64, a pale grey folder outline with a question mark, on white
platform::Picture OptionsBadge();   // 104 x 40, the picture at the foot of the teacher options

} // namespace launcher::artwork
