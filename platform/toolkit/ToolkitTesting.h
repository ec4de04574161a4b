// Hooks for in-process tests only; the program never calls them.
#pragma once

#include <string>

// Makes TApplication::ExeName() report this path instead of the program's own file, so that a
// test's form reads and writes its settings in a folder of the test's own. Empty: the real one.
void SetExeNameForTests(const std::string& path);
