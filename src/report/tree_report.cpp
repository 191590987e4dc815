#include "report/tree_report.h"

namespace twinseek {

namespace {

// Calls visit(text, is_group) for every node in report order.
template <typename Visit>
void WalkInReportOrder(const ResultTree& tree, Visit&& visit) {
  for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
    visit(tree.Text(group), true);
    for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file)) {
      visit(tree.Text(file), false);
    }
  }
}

}  // namespace

std::string BuildTreeReport(const ResultTree& tree) {
  // The text is sized by a first walk, so it is allocated once.
  size_t size = 0;
  WalkInReportOrder(
      tree, [&](const std::string& text, bool is_group) { size += text.size() + (is_group ? 3 : 2); });
  std::string report;
  report.reserve(size);
  WalkInReportOrder(tree, [&](const std::string& text, bool is_group) {
    if (is_group) report += '*';
    report += text;
    report += "\r\n";
  });
  return report;
}

}  // namespace twinseek
