// The catalogue's files, gathered under one name: the settings file progdata.xml (its writer, its reader and
// its line scanners), the built-in default catalogue, the discovery of installed programs, and the whole
// load sequence. Each has a header of its own; include the one you need.
#pragma once

#include "catalogue/Defaults.h"
#include "catalogue/Discovery.h"
#include "catalogue/LoadCatalogue.h"
#include "catalogue/Scanners.h"
#include "catalogue/Settings.h"
