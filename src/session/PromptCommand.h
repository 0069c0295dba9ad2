#pragma once

#include <string>

namespace session {

// Whether the line, run by the interpreter, may replace its marked prompt or stop it from showing
// prompts at all: "prompt ...", "set prompt=...", "echo off", alone or in a chain of commands.
bool ReplacesThePrompt(const std::wstring& line);

}  // namespace session
