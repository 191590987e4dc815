// The floor of a content scan: walks a tree and reads every file once through
// one reused buffer, doing nothing with the bytes. (cat allocates a fresh
// buffer per file, which costs more here than the reading itself.)
// Usage: twinseek_read_tree FOLDER
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  std::vector<char> buffer(size_t{4} << 20);
  unsigned long long total = 0;
  for (const auto& item : std::filesystem::recursive_directory_iterator(argv[1])) {
    if (!item.is_regular_file()) continue;
    const int file = open(item.path().c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) continue;
    ssize_t count;
    while ((count = read(file, buffer.data(), buffer.size())) > 0)
      total += static_cast<unsigned long long>(count);
    close(file);
  }
  std::printf("%llu\n", total);
  return 0;
}
