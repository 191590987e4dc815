// What the console tool needs from the system it runs on: its arguments as
// code page 932 text, and standard output that passes bytes through unchanged.
#pragma once

#include <string>
#include <vector>

namespace twinseek {

// The arguments after the program name, converted to code page 932 (from the
// wide command line on Windows, from UTF-8 elsewhere). An argument that code
// page 932 cannot hold comes back with "?" in place of what it lacks.
std::vector<std::string> Cp932Arguments(int argc, char** argv);

// Standard output and error write bytes as given ("\r\n" stays "\r\n").
void UseBinaryConsoleOutput();

}  // namespace twinseek
