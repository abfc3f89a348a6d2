// quillsmith-build without import and export, as the Windows build makes it: the options are
// unknown there.

#include "app/interchange_commands.h"

namespace quill::app {

InterchangeUsage InterchangeUsageText() { return {"", ""}; }

Taken TakeInterchangeOption(int, char**, int&, InterchangeRequest&) { return Taken::No; }

std::string InterchangeProblem(const InterchangeRequest&, bool) { return {}; }

void RunInterchange(project::ProjectSession&, const InterchangeRequest&) {}

}  // namespace quill::app
