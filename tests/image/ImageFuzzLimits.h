// Bounds the work of one fuzz input: a few header bytes may declare an image of millions
// of pixels, which a decoder may accept (any file may claim a small picture, and
// compressed data may expand a thousandfold) and then fill pixel by pixel. That is
// correct, but too slow for a fuzz run, so such inputs are skipped. Codecs that can report their dimensions
// first (escape -1) tell; the others are cancelled by the probe right after their header and are not skipped.
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
