// Running a built program of the project from a test, as a user runs it from a shell.
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include <sys/wait.h>

namespace qxtest {

struct Outcome {
  int exitCode;
  std::string out;
  std::string err;
};

inline std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void Spit(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `<build>/<program> arguments`, its output caught in files of the folder `scratch`.
inline Outcome RunTool(const std::string& program, const std::string& arguments,
                       const std::string& scratch) {
  const std::string out = scratch + "/stdout", err = scratch + "/stderr";
  const std::string command = std::string(QX_BINARY_DIR) + "/" + program + " " + arguments +
                              " >" + out + " 2>" + err;
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Slurp(out), Slurp(err)};
}

}  // namespace qxtest
