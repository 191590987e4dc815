#include "core/file_answer.h"

namespace twinseek {

FileAnswer Unanswered(std::string_view what, std::string_view path) {
  FileAnswer answer;
  answer.message.append(what).append("(").append(path).append(")\r\n");
  return answer;
}

}  // namespace twinseek
