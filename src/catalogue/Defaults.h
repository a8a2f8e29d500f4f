// The built-in default catalogue, built and written when there is no settings file yet.
#pragma once

#include "catalogue/Catalogue.h"
#include "platform/FileSystem.h"

namespace catalogue {

void SetDefaultOptions(Catalogue& cat);
void SetDefaultPaths(Catalogue& cat); // needs cat.appDrive
void SetDefaultNames(Catalogue& cat);
void SetDefaultPictures(Catalogue& cat, const platform::FileSystem& files);
void SetDefaultDescriptions(Catalogue& cat);
void SetDefaultVideoPaths(Catalogue& cat); // needs cat.appDrive
void SetDefaultOrder(Catalogue& cat);
void SetDefaultShow(Catalogue& cat);

} // namespace catalogue
