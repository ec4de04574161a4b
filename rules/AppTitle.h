// The application title, which captions every box the program shows.
#pragma once

#include <string>
#include <string_view>

// The name part of the program file, cut at its first ".", with every character after the
// first lower-cased: VELMORA.EXE gives Velmora, velmora.new.exe gives velmora.
std::string ApplicationTitle(std::string_view programPath);
