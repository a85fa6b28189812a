// Stops the program on a collection misuse (an index or position that is not
// there). Such a call is a mistake in the calling code, never a data error.
#pragma once

[[noreturn]] void CollectionFault(const char* collection, const char* what);
