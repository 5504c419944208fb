// DibSurface now lives with the other DIB code in win/framework/dib.h; this name stays for code
// that still includes it.
#pragma once

#include "win/framework/dib.h"
