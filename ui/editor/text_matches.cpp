#include "ui/editor/text_matches.h"

namespace quill::ui {
namespace {

bool ContinuesWord(QChar c) { return c.isLetterOrNumber() || c.isMark() || c == QLatin1Char('_'); }

bool StandsAlone(const QString& text, qsizetype at, qsizetype length) {
  const bool open = at == 0 || !ContinuesWord(text[at - 1]);
  const bool closed = at + length >= text.size() || !ContinuesWord(text[at + length]);
  return open && closed;
}

}  // namespace

std::vector<int> FindMatches(const QString& text, const QString& needle, MatchRule rule) {
  std::vector<int> found;
  if (needle.isEmpty()) return found;
  const Qt::CaseSensitivity sensitivity = rule.match_case ? Qt::CaseSensitive : Qt::CaseInsensitive;
  for (qsizetype at = text.indexOf(needle, 0, sensitivity); at >= 0;) {
    if (!rule.whole_words || StandsAlone(text, at, needle.size())) {
      found.push_back(static_cast<int>(at));
      at = text.indexOf(needle, at + needle.size(), sensitivity);
    } else {
      at = text.indexOf(needle, at + 1, sensitivity);
    }
  }
  return found;
}

}  // namespace quill::ui
