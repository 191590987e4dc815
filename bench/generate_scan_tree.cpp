// Writes the trees the scan benchmark runs on, the same bytes every time
// (fixed seeds):
//   small: about 50,000 files of 0-64 KiB in 2,000 folders. Sizes come from a
//          small set, so most files share their size with many others that
//          differ in content; about one file in five is a copy of another.
//   large: about 300 files of 1-32 MiB in 10 folders, one in four a copy.
// Usage: twinseek_generate_scan_tree small|large FOLDER
// FOLDER must not exist yet; "FOLDER/.complete" is written last. Copies keep
// their original's modification time.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct TreeShape {
  int folders;
  int files;
  std::vector<uint64_t> sizes;  // sizes a file may have
  int copy_one_in;              // about one file in this many is a copy
  uint64_t seed;
};

TreeShape SmallTree() {
  TreeShape shape{2'000, 50'000, {}, 5, 20260101};
  std::mt19937_64 random(7);
  for (int i = 0; i < 400; ++i) shape.sizes.push_back(random() % (64 * 1024 + 1));
  shape.sizes.push_back(0);
  return shape;
}

TreeShape LargeTree() {
  TreeShape shape{10, 300, {}, 4, 20260202};
  std::mt19937_64 random(11);
  for (int i = 0; i < 40; ++i) shape.sizes.push_back((1u << 20) + random() % (31u << 20));
  return shape;
}

void Fill(std::string& content, uint64_t size, std::mt19937_64& random) {
  content.resize(size);
  size_t i = 0;
  for (; i + 8 <= content.size(); i += 8) {
    const uint64_t word = random();
    std::memcpy(content.data() + i, &word, 8);
  }
  for (; i < content.size(); ++i) content[i] = static_cast<char>(random());
}

bool Write(const fs::path& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  return out.good();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::string_view(argv[1]) != "small" && std::string_view(argv[1]) != "large")) {
    std::fprintf(stderr, "usage: %s small|large FOLDER\n", argv[0]);
    return 2;
  }
  const TreeShape shape = std::string_view(argv[1]) == "small" ? SmallTree() : LargeTree();
  const fs::path root = argv[2];
  std::error_code error;
  if (!fs::create_directories(root, error)) {
    std::fprintf(stderr, "cannot create %s (it must not exist yet)\n", argv[2]);
    return 2;
  }
  std::vector<fs::path> folders;
  for (int i = 0; i < shape.folders; ++i) {
    folders.push_back(root / ("d" + std::to_string(i / 50)) / ("f" + std::to_string(i)));
    fs::create_directories(folders.back());
  }
  std::mt19937_64 random(shape.seed);
  std::vector<fs::path> written;
  std::string content;
  for (int i = 0; i < shape.files; ++i) {
    const fs::path path = folders[random() % folders.size()] / ("file" + std::to_string(i) + ".dat");
    const bool copy = !written.empty() && random() % shape.copy_one_in == 0;
    if (copy) {
      // A copy keeps its original's time, as copies made by the shell do.
      const fs::path& original = written[random() % written.size()];
      if (fs::copy_file(original, path, error)) fs::last_write_time(path, fs::last_write_time(original), error);
    } else {
      Fill(content, shape.sizes[random() % shape.sizes.size()], random);
      if (!Write(path, content)) error = std::make_error_code(std::errc::io_error);
    }
    if (error) {
      std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
      return 1;
    }
    written.push_back(path);
  }
  Write(root / ".complete", "");
  return 0;
}
