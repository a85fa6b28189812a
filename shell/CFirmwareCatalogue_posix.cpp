// POSIX half of the firmware catalogue, for the native tests: replacing the file.
#include "shell/CFirmwareCatalogue.h"

#include <cstdio>

bool CFirmwareCatalogue::ReplaceCatalogueFile(LPCSTR from, LPCSTR to) {
    return std::rename(from, to) == 0;
}
