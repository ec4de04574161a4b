#include "TBitmap.h"

#include <new>
#include <stdexcept>

#include "Errors.h"
#include "Messages.h"

void TBitmap::SetSize(std::int32_t newWidth, std::int32_t newHeight, TPixelFormat newFormat)
{
    pixels.clear();
    pixels.shrink_to_fit();
    palette.clear();
    width = newWidth;
    height = newHeight;
    format = newFormat;
    if (width == 0 || height == 0)
        return;
    if (width < 0 || height < 0) {
        width = height = 0;
        throw EOutOfResources(Messages::OutOfResources());
    }
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) *
                              static_cast<std::size_t>(BytesPerPixel());
    try {
        pixels.assign(bytes, 0xFF);
    } catch (const std::bad_alloc&) {  // the picture does not fit: report it as the platform does
        width = height = 0;
        throw EOutOfMemory(Messages::OutOfMemory());
    } catch (const std::length_error&) {  // more bytes than a buffer can count: the same to the user
        width = height = 0;
        throw EOutOfMemory(Messages::OutOfMemory());
    }
}
