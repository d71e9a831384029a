#include "common/process_paths.h"

#include <windows.h>

#include "common/module_path.h"

namespace vornik {

namespace {

ModulePath RunningModulePath() {
  char buffer[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return SplitModulePath(buffer);
}

}  // namespace

std::string RunDirectory() { return RunningModulePath().directory; }

std::string ExecutableFileName() { return RunningModulePath().fileName; }

std::string ExecutablePath() {
  ModulePath path = RunningModulePath();
  return path.directory + "\\" + path.fileName;
}

}  // namespace vornik
