#pragma once

#include <optional>
#include <string>

namespace console {

// The interpreter to start, decided once per start: "cmd.exe" in `systemFolder` when that file is
// there, else `comSpec` when it is a full path ("X:\..." or "\\server\...") to an existing file
// named cmd.exe. The system folder comes first: Windows itself says where it is, while ComSpec is
// inherited from whichever program started the browser; on a standard machine both name the same
// file. A ComSpec naming another program is never used, as the console relies on cmd.exe's
// behaviour; nor is a relative one, which would be looked up in whatever folder is current.
// Nothing when neither will do.
std::optional<std::wstring> ChooseInterpreterPath(const std::wstring& systemFolder, const std::wstring& comSpec);

// The same for this process: Windows' system folder and the ComSpec variable.
std::optional<std::wstring> InterpreterPath();

}  // namespace console
