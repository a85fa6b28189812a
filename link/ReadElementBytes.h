// An element's bytes as the data handler holds them, at least minimum of them, so that decoding
// a fixed layout never reads past a short descriptor: the bytes past the element's length are 0.
#pragma once

#include "classlib/core/WinTypes.h"

#include <cstddef>
#include <vector>

class CDataHandler;

std::vector<BYTE> ReadElementBytes(CDataHandler& handler, int element, std::size_t minimum);
