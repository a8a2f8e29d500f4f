#include "launcher/Artwork.h"

namespace launcher::artwork {

// TODO: not written yet
platform::Picture MinimiseButton() { return std::make_shared<const platform::Bitmap>(1, 1, platform::kWhite); }
platform::Picture RestoreButton() { return std::make_shared<const platform::Bitmap>(1, 1, platform::kWhite); }
platform::Picture ExitButton() { return std::make_shared<const platform::Bitmap>(1, 1, platform::kWhite); }
platform::Picture TopStrip() { return std::make_shared<const platform::Bitmap>(1, 1, platform::kWhite); }
platform::Picture SideStrip() { return std::make_shared<const platform::Bitmap>(1, 1, platform::kWhite); }
platform::Picture BottomStrip() { return std::make_shared<const platform::Bitmap>(1, 1, platform::kWhite); }
platform::Picture Logo() { return std::make_shared<const platform::Bitmap>(1, 1, platform::kWhite); }
platform::Picture DefaultTile() { return std::make_shared<const platform::Bitmap>(1, 1, platform::kWhite); }
platform::Picture VideoButton() { return std::make_shared<const platform::Bitmap>(1, 1, platform::kWhite); }
platform::Picture MissingProgram() { return std::make_shared<const platform::Bitmap>(1, 1, platform::kWhite); }
platform::Picture OptionsBadge() { return std::make_shared<const platform::Bitmap>(1, 1, platform::kWhite); }

} // namespace launcher::artwork
