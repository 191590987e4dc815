// A report text written to its file in one write.
#include "report/report_file.h"

#include <memory>

namespace twinseek {

SaveOutcome SaveReportText(FileSystem& file_system, std::string_view path, std::string_view text) {
  std::unique_ptr<FileWriter> writer = file_system.CreateForWrite(path);
  if (writer == nullptr) return SaveOutcome::kCannotCreate;
  const bool written = writer->Write(text.data(), text.size());
  const bool closed = writer->Close();
  return written && closed ? SaveOutcome::kSaved : SaveOutcome::kWriteFailed;
}

}  // namespace twinseek
