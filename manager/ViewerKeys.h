// The description keys the viewer lists for a firmware file: "de", "hu" and "en" in any case,
// in the descriptions' own order; keys in other languages stay in the file but are not listed.
#pragma once

#include "link/CDescriptionKeyList.h"

namespace ViewerKeys {

bool IsListed(const CString& key);

// An empty key list that lists by these rules.
CDescriptionKeyList MakeList();

// The key summary while no key is listed.
constexpr const char* kNoKeysText = "*** Leer ***";

}  // namespace ViewerKeys
