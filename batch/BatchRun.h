// The batch run: every argument that names a ".jpg" file is cropped and written beside it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "OutputName.h"
#include "PictureCrop.h"

// Where the batch run reads the current settings, afresh for every file; the settings window
// is the one that holds them.
class TCurrentSettings {
public:
    virtual ~TCurrentSettings() = default;
    virtual TCropTexts CropTexts() const = 0;
    virtual TNamingSettings Naming() const = 0;
};

// The stored name of the entry an argument names, or nothing when there is none.
std::optional<std::string> GetStoredFileName(const std::string& path);

// Walks argument 0 (the program's own path) and the arguments after it, in order. The first
// failure ends the walk and leaves; outputs written before it stay.
void RunBatch(const std::vector<std::string>& arguments, const TCurrentSettings& settings,
              bool paletteMode);
