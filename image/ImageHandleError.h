// What CxImage::CreateFromHandle raises for a DIB whose compression it cannot read; the
// one failure of the image library that is thrown instead of returned.
#pragma once

#include <stdexcept>

class ImageHandleError : public std::runtime_error {
public:
    explicit ImageHandleError(const char* text) : std::runtime_error(text) {}
};
