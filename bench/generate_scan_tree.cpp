// Writes the trees the scan benchmarks run on, the same shape every time
// (fixed seeds):
//   small:    about 50,000 files of 0-64 KiB in 2,000 folders. Sizes come from
//             a small set, so most files share their size with many others
//             that differ in content; about one file in five is a copy of
//             another.
//   large:    about 300 files of 1-32 MiB in 10 folders, one in four a copy.
//   samesize: COUNT files (default 20,000) in one folder, all of 8 bytes,
//             each with its own content and its own modification time: with
//             size as the only condition they make one group of COUNT files;
//             with size and date, none.
//   million:  1,000,000 empty sparse files in 1,000 folders (1,000 each):
//             sizes below 100 MB and times over ten years, drawn at random,
//             so that nearly every size+date key is unique, and about one file
//             in a hundred takes another's size and time (a group). The files
//             hold no data blocks: the tree costs a million inodes and about
//             36 MB of folder entries, but its apparent size is about 50 TB,
//             so nothing may read its contents (no --crc on it).
// Usage: twinseek_generate_scan_tree small|large|samesize|million FOLDER [COUNT]
// FOLDER must not exist yet; "FOLDER/.complete" is written last. Copies keep
// their original's modification time.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

// "d<i/50>/f<i>" under root, i.e. folders in groups of 50 one level down.
std::vector<fs::path> MakeFolders(const fs::path& root, int count, int per_parent) {
  std::vector<fs::path> folders;
  for (int i = 0; i < count; ++i) {
    folders.push_back(root / ("d" + std::to_string(i / per_parent)) / ("f" + std::to_string(i)));
    fs::create_directories(folders.back());
  }
  return folders;
}

bool WriteRandomTree(const TreeShape& shape, const fs::path& root) {
  const std::vector<fs::path> folders = MakeFolders(root, shape.folders, 50);
  std::mt19937_64 random(shape.seed);
  std::vector<fs::path> written;
  std::string content;
  std::error_code error;
  for (int i = 0; i < shape.files; ++i) {
    const fs::path path = folders[random() % folders.size()] / ("file" + std::to_string(i) + ".dat");
    const bool copy = !written.empty() && random() % shape.copy_one_in == 0;
    if (copy) {
      // A copy keeps its original's time, as copies made by the shell do.
      const fs::path& original = written[random() % written.size()];
      if (fs::copy_file(original, path, error))
        fs::last_write_time(path, fs::last_write_time(original), error);
    } else {
      Fill(content, shape.sizes[random() % shape.sizes.size()], random);
      if (!Write(path, content)) error = std::make_error_code(std::errc::io_error);
    }
    if (error) {
      std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
      return false;
    }
    written.push_back(path);
  }
  return true;
}

// A time a little before now, so that no file is dated in the future.
fs::file_time_type BaseTime() { return fs::file_time_type::clock::now() - std::chrono::hours(24 * 4000); }

bool WriteSameSizeTree(const fs::path& root, int count) {
  const fs::file_time_type base = BaseTime();
  std::error_code error;
  for (int i = 0; i < count; ++i) {
    char content[16];
    std::snprintf(content, sizeof content, "%08d", i % 100'000'000);
    const fs::path path = root / ("same" + std::to_string(i) + ".dat");
    if (!Write(path, std::string_view(content, 8))) return false;
    fs::last_write_time(path, base + std::chrono::seconds(i), error);
    if (error) {
      std::fprintf(stderr, "cannot date %s\n", path.string().c_str());
      return false;
    }
  }
  return true;
}

bool WriteMillionTree(const fs::path& root) {
  constexpr int kFolders = 1'000;
  constexpr int kFilesPerFolder = 1'000;
  constexpr uint64_t kSizeRange = 100'000'000;
  constexpr uint64_t kTimeRangeMs = 10ull * 365 * 24 * 3600 * 1000;
  const std::vector<fs::path> folders = MakeFolders(root, kFolders, 50);
  const fs::file_time_type base = BaseTime() - std::chrono::hours(24 * 3650);
  std::mt19937_64 random(20260303);
  std::vector<std::pair<uint64_t, uint64_t>> written;  // size, milliseconds after base
  written.reserve(size_t{kFolders} * kFilesPerFolder);
  std::error_code error;
  for (const fs::path& folder : folders) {
    for (int file = 0; file < kFilesPerFolder; ++file) {
      const bool copy = !written.empty() && random() % 100 == 0;
      const auto [size, ms] = copy ? written[random() % written.size()]
                                   : std::pair{random() % kSizeRange, random() % kTimeRangeMs};
      const fs::path path = folder / ("file" + std::to_string(written.size()) + ".dat");
      if (!Write(path, {})) error = std::make_error_code(std::errc::io_error);
      if (!error) fs::resize_file(path, size, error);  // sparse: no data blocks
      if (!error) fs::last_write_time(path, base + std::chrono::milliseconds(ms), error);
      if (error) {
        std::fprintf(stderr, "cannot write %s\n", path.string().c_str());
        return false;
      }
      written.emplace_back(size, ms);
    }
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string_view kind = argc >= 3 ? argv[1] : "";
  const bool known = kind == "small" || kind == "large" || kind == "samesize" || kind == "million";
  int count = 20'000;
  if (argc == 4 && kind == "samesize") count = std::atoi(argv[3]);
  if (!known || count <= 0 || argc > (kind == "samesize" ? 4 : 3)) {
    std::fprintf(stderr, "usage: %s small|large|samesize|million FOLDER [COUNT for samesize]\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[2];
  std::error_code error;
  if (!fs::create_directories(root, error)) {
    std::fprintf(stderr, "cannot create %s (it must not exist yet)\n", argv[2]);
    return 2;
  }
  bool written = false;
  if (kind == "small") written = WriteRandomTree(SmallTree(), root);
  if (kind == "large") written = WriteRandomTree(LargeTree(), root);
  if (kind == "samesize") written = WriteSameSizeTree(root, count);
  if (kind == "million") written = WriteMillionTree(root);
  if (!written) return 1;
  Write(root / ".complete", "");
  return 0;
}
