#pragma once

#include <string>
#include <vector>

namespace standin {

// The running program's command-line arguments, its own name left out.
std::vector<std::wstring> ThisProgramArguments();
// The full path of the running program's file.
std::wstring ThisProgramPath();

}  // namespace standin
