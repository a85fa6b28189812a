// The failure a codec raises inside its own Decode or Encode: a fixed text that the
// codec catches at its top and copies into the image's last error. It never leaves
// the codec.
#pragma once

struct CodecError {
    const char* text;  // a string literal
};
