// A child for the launch tests: waits a moment (so a launcher that does not wait is caught),
// then writes each of its arguments after the first to the file the first one names, each
// ended by a NUL, and exits with the number of arguments it wrote.

#include <chrono>
#include <fstream>
#include <thread>

int main(int argc, char** argv) {
  if (argc < 2) return 100;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  std::ofstream out(argv[1], std::ios::binary);
  for (int i = 2; i < argc; ++i) out << argv[i] << '\0';
  return argc - 2;
}
