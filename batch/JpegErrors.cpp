#include "JpegErrors.h"

#include <array>
#include <iterator>

#include <jerror.h>

#include "Errors.h"
#include "Messages.h"

namespace {

// The library's message names in the order of its message table.
constexpr const char* kLibraryMessageNames[] = {
#define JMESSAGE(code, string) #code,
#include <jerror.h>
};
static_assert(std::size(kLibraryMessageNames) == JMSG_LASTMSGCODE,
              "every message of the library has its name");

// libjpeg 6a's message names in the order of its table: the numbers users and their old
// reports know. Entries past the fatal errors are not needed, as only those reach a user.
constexpr const char* kClassicMessageNames[] = {
    "JMSG_NOMESSAGE",          "JERR_ARITH_NOTIMPL",      "JERR_BAD_ALIGN_TYPE",
    "JERR_BAD_ALLOC_CHUNK",    "JERR_BAD_BUFFER_MODE",    "JERR_BAD_COMPONENT_ID",
    "JERR_BAD_DCTSIZE",        "JERR_BAD_HUFF_TABLE",     "JERR_BAD_IN_COLORSPACE",
    "JERR_BAD_J_COLORSPACE",   "JERR_BAD_LENGTH",         "JERR_BAD_LIB_VERSION",
    "JERR_BAD_MCU_SIZE",       "JERR_BAD_POOL_ID",        "JERR_BAD_PRECISION",
    "JERR_BAD_PROGRESSION",    "JERR_BAD_PROG_SCRIPT",    "JERR_BAD_SAMPLING",
    "JERR_BAD_SCAN_SCRIPT",    "JERR_BAD_STATE",          "JERR_BAD_STRUCT_SIZE",
    "JERR_BAD_VIRTUAL_ACCESS", "JERR_BUFFER_SIZE",        "JERR_CANT_SUSPEND",
    "JERR_CCIR601_NOTIMPL",    "JERR_COMPONENT_COUNT",    "JERR_CONVERSION_NOTIMPL",
    "JERR_DAC_INDEX",          "JERR_DAC_VALUE",          "JERR_DHT_INDEX",
    "JERR_DQT_INDEX",          "JERR_EMPTY_IMAGE",        "JERR_EMS_READ",
    "JERR_EMS_WRITE",          "JERR_EOI_EXPECTED",       "JERR_FILE_READ",
    "JERR_FILE_WRITE",         "JERR_FRACT_SAMPLE_NOTIMPL", "JERR_HUFF_CLEN_OVERFLOW",
    "JERR_HUFF_MISSING_CODE",  "JERR_IMAGE_TOO_BIG",      "JERR_INPUT_EMPTY",
    "JERR_INPUT_EOF",          "JERR_MISMATCHED_QUANT_TABLE", "JERR_MISSING_DATA",
    "JERR_MODE_CHANGE",        "JERR_NOTIMPL",            "JERR_NOT_COMPILED",
    "JERR_NO_BACKING_STORE",   "JERR_NO_HUFF_TABLE",      "JERR_NO_IMAGE",
    "JERR_NO_QUANT_TABLE",     "JERR_NO_SOI",             "JERR_OUT_OF_MEMORY",
    "JERR_QUANT_COMPONENTS",   "JERR_QUANT_FEW_COLORS",   "JERR_QUANT_MANY_COLORS",
    "JERR_SOF_DUPLICATE",      "JERR_SOF_NO_SOS",         "JERR_SOF_UNSUPPORTED",
    "JERR_SOI_DUPLICATE",      "JERR_SOS_NO_SOF",         "JERR_TFILE_CREATE",
    "JERR_TFILE_READ",         "JERR_TFILE_SEEK",         "JERR_TFILE_WRITE",
    "JERR_TOO_LITTLE_DATA",    "JERR_UNKNOWN_MARKER",     "JERR_VIRTUAL_BUG",
    "JERR_WIDTH_OVERFLOW",     "JERR_XMS_READ",           "JERR_XMS_WRITE",
};
static_assert(std::size(kClassicMessageNames) == 72, "the classic table ends at JERR_XMS_WRITE");

constexpr bool SameName(const char* a, const char* b)
{
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

constexpr int ClassicCodeForName(const char* name, int libraryCode)
{
    for (std::size_t i = 0; i < std::size(kClassicMessageNames); ++i)
        if (SameName(kClassicMessageNames[i], name))
            return static_cast<int>(i);
    return libraryCode;
}

constexpr std::array<int, JMSG_LASTMSGCODE> BuildClassicCodes()
{
    std::array<int, JMSG_LASTMSGCODE> codes{};
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = ClassicCodeForName(kLibraryMessageNames[i], static_cast<int>(i));
    return codes;
}

constexpr std::array<int, JMSG_LASTMSGCODE> kClassicCodes = BuildClassicCodes();
static_assert(kClassicCodes[JERR_INPUT_EMPTY] == 41, "an empty file reports 41");
static_assert(kClassicCodes[JERR_NO_SOI] == 52, "data that is no JPEG reports 52");
static_assert(kClassicCodes[JERR_XMS_WRITE] == 71, "the last classic fatal error keeps 71");

// The library must not go on after a fatal error, so this never returns to it.
[[noreturn]] void LeaveLibrary(j_common_ptr info)
{
    auto* err = reinterpret_cast<TJpegErrorManager*>(info->err);
    err->failureCode = info->err->msg_code;
    std::longjmp(err->jump, 1);
}

void IgnoreMessage(j_common_ptr, int) {}

void IgnoreOutput(j_common_ptr) {}

// The only frame between setjmp and the library; it owns nothing, so the jump skips no
// destructor. Tells whether the step ran to its end.
bool StepCompleted(TJpegErrorManager& err, TJpegStep step, void* context)
{
    if (setjmp(err.jump) != 0)
        return false;
    step(context);
    return true;
}

[[noreturn]] void ThrowLibraryFailure(int libraryCode)
{
    if (libraryCode == JERR_OUT_OF_MEMORY)
        throw EOutOfMemory(Messages::OutOfMemory());
    throw EJpegError(Messages::JpegError(ClassicJpegMessageCode(libraryCode)));
}

}  // namespace

TJpegErrorManager::TJpegErrorManager()
{
    jpeg_std_error(&pub);
    pub.error_exit = LeaveLibrary;
    pub.emit_message = IgnoreMessage;
    pub.output_message = IgnoreOutput;
}

int ClassicJpegMessageCode(int libraryCode)
{
    if (libraryCode < 0 || libraryCode >= JMSG_LASTMSGCODE)
        return libraryCode;
    return kClassicCodes[static_cast<std::size_t>(libraryCode)];
}

void RunJpegStep(TJpegErrorManager& err, TJpegStep step, void* context)
{
    if (!StepCompleted(err, step, context))
        ThrowLibraryFailure(err.failureCode);
}
