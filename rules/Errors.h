// Failures of velmora: exceptions whose what() is exactly the text the user reads.
#pragma once

#include <stdexcept>
#include <string>

// The base of every failure the program raises. The toolkit layer catches it (and any other
// std::exception) where a handler ends and shows what() in the error box.
class EVelmoraError : public std::runtime_error {
public:
    explicit EVelmoraError(const std::string& message) : std::runtime_error(message) {}
};

// The individual kinds only add a name, so that tests and readers can tell them apart.
#define VELMORA_DECLARE_ERROR(Name)                                              \
    class Name : public EVelmoraError {                                          \
    public:                                                                      \
        explicit Name(const std::string& message) : EVelmoraError(message) {}   \
    }

VELMORA_DECLARE_ERROR(EConvertError);      // a text that is not an integer text
VELMORA_DECLARE_ERROR(EFOpenError);        // a source that cannot be opened
VELMORA_DECLARE_ERROR(EReadError);         // a source that delivers fewer bytes than its size
VELMORA_DECLARE_ERROR(EFCreateError);      // an output that cannot be created
VELMORA_DECLARE_ERROR(EWriteError);        // an output whose bytes cannot be written
VELMORA_DECLARE_ERROR(EOutOfMemory);       // memory ran out
VELMORA_DECLARE_ERROR(EOutOfResources);    // a picture that cannot be made
VELMORA_DECLARE_ERROR(EJpegError);         // a fatal error of the JPEG library
VELMORA_DECLARE_ERROR(EUnsupportedColor);  // a JPEG colour model velmora cannot crop
VELMORA_DECLARE_ERROR(EInvalidCropSize);   // a crop of width or height below 1
VELMORA_DECLARE_ERROR(EIniFileException);  // a refused write to the settings file

#undef VELMORA_DECLARE_ERROR
