// Metafile codec. Playing a metafile needs GDI, which this library does not drive
// yet, so every stream is refused as a metafile; writing is not supported.
#include "image/WmfCodec.h"

bool WmfCodec::Decode(ImageStream*, long, long) {
    SetLastError("corrupted WMF");
    return false;
}

bool WmfCodec::Encode(ImageStream*) {
    SetLastError("Save WMF not supported");
    return false;
}
