#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "base/utf8_text.h"
#include "support/temp_tree.h"

namespace twinseek::testing {

namespace {

std::string Native(const std::string& root, std::u8string_view relative) {
  std::string path = root + "/" + std::string(relative.begin(), relative.end());
  for (size_t i = root.size(); i < path.size(); ++i) {
    if (path[i] == '\\') path[i] = '/';
  }
  return path;
}

void Check(bool done, const std::string& what) {
  if (!done) throw std::runtime_error("TempTree: " + what);
}

}  // namespace

TempTree::TempTree() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern =
      std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/twinseek-test-XXXXXX";
  Check(mkdtemp(pattern.data()) != nullptr, "mkdtemp " + pattern);
  native_root_ = pattern;
  root_ = *Utf8ToCp932(native_root_);
}

TempTree::~TempTree() {
  std::error_code ignored;
  std::filesystem::remove_all(native_root_, ignored);
}

void TempTree::Write(std::u8string_view relative, std::string_view content) {
  const std::string path = Native(native_root_, relative);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  Check(out.good(), "write " + path);
}

void TempTree::MakeFolder(std::u8string_view relative) {
  const std::string path = Native(native_root_, relative);
  Check(mkdir(path.c_str(), 0755) == 0, "mkdir " + path);
}

void TempTree::Resize(std::u8string_view relative, uint64_t size) {
  const std::string path = Native(native_root_, relative);
  Check(truncate(path.c_str(), static_cast<off_t>(size)) == 0, "truncate " + path);
}

void TempTree::WriteAt(std::u8string_view relative, uint64_t offset, std::string_view content) {
  const std::string path = Native(native_root_, relative);
  const int descriptor = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  Check(descriptor >= 0, "open " + path);
  const ssize_t written = pwrite(descriptor, content.data(), content.size(), static_cast<off_t>(offset));
  close(descriptor);
  Check(written == static_cast<ssize_t>(content.size()), "pwrite " + path);
}

void TempTree::SetLastWriteTime(std::u8string_view relative, FileTime time) {
  const std::string path = Native(native_root_, relative);
  constexpr int64_t kSecondsFrom1601To1970 = 11'644'473'600;
  timespec times[2];
  times[0].tv_sec = 0;
  times[0].tv_nsec = UTIME_OMIT;
  times[1].tv_sec = static_cast<time_t>(static_cast<int64_t>(time / 10'000'000) - kSecondsFrom1601To1970);
  times[1].tv_nsec = static_cast<long>(time % 10'000'000) * 100;
  Check(utimensat(AT_FDCWD, path.c_str(), times, 0) == 0, "utimensat " + path);
}

void TempTree::HardLink(std::u8string_view existing, std::u8string_view link) {
  const std::string from = Native(native_root_, existing);
  const std::string to = Native(native_root_, link);
  Check(::link(from.c_str(), to.c_str()) == 0, "link " + to);
}

void TempTree::Remove(std::u8string_view relative) {
  const std::string path = Native(native_root_, relative);
  Check(unlink(path.c_str()) == 0, "unlink " + path);
}

}  // namespace twinseek::testing
