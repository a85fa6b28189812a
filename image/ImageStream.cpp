// Default single-byte write of the image byte stream.
#include "image/ImageStream.h"

bool ImageStream::PutC(unsigned char byte) {
    return Write(&byte, 1, 1) == 1;
}
