#pragma once

#include <functional>
#include <string>

namespace quill::project {
class ProjectSession;
}

namespace quill::app {

// quillsmith-build --publish: builds the open project's site when it is out of date (entries
// saved since the last output, or an entry waiting for its time now due), then uploads it
// with `uploader` when uploading is on for the project and the published copy is older than
// the site. Holds the project's build lock throughout, so a second run (a timer firing again,
// the editor's Output) is refused at once rather than running beside it. `build` generates
// the site and says so, throwing core::QuillError when it fails. With `dry_run` it only says
// what it would do. Returns the exit status: 0 when nothing was needed or everything
// worked, 1 otherwise, with the reason on standard error.
int Publish(project::ProjectSession& session, const std::string& uploader, bool dry_run,
            const std::function<void()>& build);

// Where this program's own file is, ending with a separator; empty when the system cannot say.
std::string ProgramFolder();

}  // namespace quill::app
