#include "BatchRun.h"

#include "FileSearch.h"
#include "JpegRegion.h"

std::optional<std::string> GetStoredFileName(const std::string& path) { return FindStoredName(path); }

namespace {

// Decodes, cuts and writes one selected file. Its pictures belong to this frame, so they are
// released on every path out of it, a failure included. The crop is decoded from only the part
// of the file it needs, exactly as the full decode would give it.
void CropOne(const std::string& joinedPath, const TCurrentSettings& settings, bool paletteMode)
{
    const TBitmap crop = LoadAndCutCrop(joinedPath, settings.CropTexts(), paletteMode);
    const std::string outputName = OutputNameFor(joinedPath, settings.Naming());
    SaveCropPicture(crop, outputName);
}

}  // namespace

void RunBatch(const std::vector<std::string>& arguments, const TCurrentSettings& settings,
              bool paletteMode)
{
    for (const std::string& argument : arguments) {
        const std::optional<std::string> storedName = GetStoredFileName(argument);
        if (!storedName)
            continue;
        const std::string joinedPath = JoinedPath(argument, *storedName);
        if (!IsSelectedFile(joinedPath))
            continue;
        CropOne(joinedPath, settings, paletteMode);
    }
}
