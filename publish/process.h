#pragma once

#include <functional>
#include <string>
#include <vector>

namespace quill::publish {

struct LaunchResult {
  bool started = false;
  std::string error;   // why the program could not be started
  int exit_code = -1;  // once started: its exit status; -1 when it did not end normally
  int signal = 0;      // the signal that ended it, where the system has signals; else 0
};

// "SIGKILL (Killed)": a signal as messages name it.
std::string SignalName(int signal);

// Where the program's standard output and error go: files, created or emptied; an empty
// path leaves that stream where this process has it.
struct OutputFiles {
  std::string out;
  std::string err;
};

// Starts the program with the arguments (each passed as it stands, no shell between) and
// waits for it to end, however long that takes. While it runs, `idle` (when given) is called
// every few hundredths of a second, so a window can go on painting itself.
LaunchResult RunAndWait(const std::string& program, const std::vector<std::string>& arguments,
                        const OutputFiles& output = {}, const std::function<void()>& idle = {});

}  // namespace quill::publish
