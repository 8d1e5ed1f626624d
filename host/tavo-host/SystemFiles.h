#pragma once
// The few file and terminal services tavo-host needs that differ between Linux and Windows.

#include <string>

namespace tavo::host::cli {

// The module's file name beside the program: TAVO.so, TAVO.dll.
const char* ModuleFileName();

// The folder of the running program; empty when the system cannot say.
std::string ProgramFolder();
// Whether standard error is a terminal (the progress bar is drawn only there).
bool StandardErrorIsTerminal();
// Gives a freshly made temporary file the permissions of a file made the ordinary way.
void MakeOrdinaryFile(int fd);
// Moves `from` over `to`, replacing it in one step; false with errno set on failure.
bool MoveOver(const std::string& from, const std::string& to);

} // namespace tavo::host::cli
