#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quill::publish {

struct LaunchResult {
  bool started = false;
  std::string error;  // why the program could not be started
};

// Starts the program with the arguments (each passed as it stands, no shell between) and
// waits for it to end, however long that takes. The exit code is not looked at. While it
// runs, `idle` (when given) is called every few hundredths of a second, so a window can
// go on painting itself.
LaunchResult RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
                        const std::function<void()>& idle = {});

}  // namespace quill::publish
