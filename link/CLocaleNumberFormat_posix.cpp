// The portable build has no locale database: every locale reads as the defaults.
#include "link/CLocaleNumberFormat.h"

CLocaleNumberFormat CLocaleNumberFormat::FromLocale(DWORD) {
    return CLocaleNumberFormat();
}
