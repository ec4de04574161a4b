// The error handling that every libjpeg object of velmora shares: a fatal library error leaves
// the library by longjmp and becomes an exception; warnings and trace messages are dropped.
#pragma once

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

struct TJpegErrorManager {
    TJpegErrorManager();
    TJpegErrorManager(const TJpegErrorManager&) = delete;
    TJpegErrorManager& operator=(const TJpegErrorManager&) = delete;

    jpeg_error_mgr pub;  // first, so the library's pointer to it also points at the whole
    std::jmp_buf jump;   // set by the step that is running
    int failureCode = 0;
};

// The number libjpeg 6a gives the library's message; a message that 6a lacks keeps the number
// of the library in use.
int ClassicJpegMessageCode(int libraryCode);

// One stretch of library calls. It must hold no C++ object with a destructor, because a fatal
// error jumps out of it; whatever it works on lives in its caller and comes through context.
using TJpegStep = void (*)(void* context);

// Runs step under err. After a fatal library error inside it throws EOutOfMemory for a memory
// shortage and EJpegError ("JPEG エラー #%d") for every other error.
void RunJpegStep(TJpegErrorManager& err, TJpegStep step, void* context);
