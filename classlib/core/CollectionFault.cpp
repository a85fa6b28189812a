#include "classlib/core/CollectionFault.h"

#include <cstdio>
#include <cstdlib>

void CollectionFault(const char* collection, const char* what) {
    std::fprintf(stderr, "%s: %s\n", collection, what);
    std::abort();
}
