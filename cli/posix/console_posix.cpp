#include "base/utf8_text.h"
#include "cli/console.h"

namespace twinseek {

std::vector<std::string> Cp932Arguments(int argc, char** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(Utf8ToCp932Lossy(argv[i]));
  return arguments;
}

void UseBinaryConsoleOutput() {}

}  // namespace twinseek
