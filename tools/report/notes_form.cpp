#include "tools/report/notes_form.h"

#include <map>

#include "tools/report/note_titles.h"

namespace stmtlink::report {

const char kNoNotes[] = "注記すべき事項はありません。";

namespace {

class NotesCollector {
 public:
  void Walk(const Node& node, int depth, const char* group) {
    for (const Node& child : node.children) {
      if (child.name == "Line") {
        Section(group).lines.push_back({std::max(depth - 1, 0), child.text});
        continue;
      }
      // A top-level note, or one shown in place of its hidden parent, names
      // its group; the latter keeps the depth it has under its parent.
      const char* title = depth == 0 ? NoteGroupTitle(child.name) : nullptr;
      const bool in_place_of_parent = depth == 0 && NoteTitle(child.name) == nullptr;
      Walk(child, depth + (in_place_of_parent ? 2 : 1), title != nullptr ? title : group);
    }
  }

  std::vector<NoteSection> sections;

 private:
  NoteSection& Section(const char* group) {
    const std::string title = group != nullptr ? group : "";
    const auto [it, added] = index_.emplace(title, sections.size());
    if (added) sections.push_back({title, {}});
    return sections[it->second];
  }
  std::map<std::string, std::size_t> index_;
};

} // namespace

std::vector<NoteSection> NotesForm(const Node* notes) {
  if (notes == nullptr) return {};
  NotesCollector collector;
  collector.Walk(*notes, 0, nullptr);
  int number = 0;
  for (NoteSection& section : collector.sections)
    if (!section.heading.empty()) section.heading = std::to_string(++number) + "．" + section.heading;
  return collector.sections;
}

} // namespace stmtlink::report
