#pragma once

#include <QString>
#include <vector>

namespace quill::ui {

// How the find bar compares.
struct MatchRule {
  bool match_case = false;
  // Only where neither neighbour continues the word (a letter, digit, mark or underscore).
  bool whole_words = false;
};

// Where `needle` stands in `text`, in order, matches never overlapping; none for an empty
// needle. Letter case is compared as Unicode folds it, so a match is as long as the needle.
std::vector<int> FindMatches(const QString& text, const QString& needle, MatchRule rule);

}  // namespace quill::ui
