// Without GDI no metafile can be played, so every stream is refused as one.
#include "image/WmfCodec.h"

bool WmfCodec::Decode(ImageStream*, long, long) {
    SetLastError("corrupted WMF");
    return false;
}
