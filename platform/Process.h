// The running program as the system sees it: its arguments and its own file.
#pragma once

#include <string>
#include <vector>

// Remembers the arguments the system started the program with; main() calls it first.
void InitProcess(int argc, char** argv);

// The arguments after the program's name, in order. An empty argument gives no item.
std::vector<std::string> ProgramArguments();

// The full path of the program's own file as the system reports it for the running program,
// never the command line as typed nor the current folder.
std::string ProgramFilePath();

// ProgramFilePath() cut after its last separator, which it keeps.
std::string ProgramFolder();
