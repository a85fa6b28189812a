// Splitting rows (or columns) into printed pages: a band takes entries while their sizes
// fit the page extent. An entry larger than a page gets a band of its own, and every band
// holds at least one entry, so no page is ever empty.
#pragma once

#include <vector>

// The number of bands; 1 for no entries.
int CountPrintBands(const std::vector<int>& sizes, int pageExtent);

// The index of the first entry of band (0 for the first band); sizes.size() past the end.
int PrintBandStart(const std::vector<int>& sizes, int pageExtent, int band);
