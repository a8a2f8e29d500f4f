// The discovery of installed programs through the candidate-location files.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"

namespace catalogue {

// For every program whose executable or help-video player is missing, takes the first candidate of the
// candidate-location files that exists on the launcher's drive.
void DiscoverPrograms(Catalogue& cat, platform::FileSystem& files);

// The first existing candidate for a program name (compared without regard to case), or empty text.
Text FindProgramPath(TextView name, const Catalogue& cat, platform::FileSystem& files);
Text FindVideoPath(TextView name, const Catalogue& cat, platform::FileSystem& files);

// Removes the blanks at both ends of every path and videopath of programs 0 to progCount - 1.
void TrimPaths(Catalogue& cat);

} // namespace catalogue
