#include "ErrorBoxText.h"

std::string ErrorBoxText(const std::string& message)
{
    if (message.empty())
        return message;
    // Every byte of a multi-byte character is above 127, so its last byte decides as well.
    const unsigned char last = static_cast<unsigned char>(message.back());
    return last > '.' ? message + "." : message;
}
