// Bounds the work of one fuzz input: a few header bytes may declare an image of hundreds
// of millions of rows, which the decoders accept within their memory limit and then copy
// row by row. That is correct, but far too slow for a fuzz run, so such inputs are
// skipped. Codecs that can report their dimensions first (escape -1) tell; the others
// are cancelled by the probe right after their header and are not skipped.
#pragma once

#include "image/CxImage.h"

#include <cstddef>
#include <cstdint>

inline bool DeclaresHugeImage(const std::uint8_t* data, std::size_t size, DWORD format) {
    constexpr std::uint64_t kMaxFuzzPixels = 1u << 22;
    CxImage probe;
    probe.SetEscape(-1);
    probe.DecodeMemory(data, static_cast<DWORD>(size), format);
    return static_cast<std::uint64_t>(probe.GetWidth()) * probe.GetHeight() > kMaxFuzzPixels;
}
