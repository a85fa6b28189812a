// POSITION: an opaque place in a list or map, handed out by the collections
// and only ever given back to the collection that made it.
#pragma once

struct CPositionTag;
typedef CPositionTag* POSITION;

// Start value for a map walk, as returned for a non-empty map.
#define BEFORE_START_POSITION ((POSITION)-1L)
