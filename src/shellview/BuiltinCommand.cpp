#include "shellview/BuiltinCommand.h"

#include "shellview/CommandText.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

namespace shellview {
namespace {

// True when lowered begins with word and something follows it.
bool HasArgument(const std::wstring& lowered, const std::wstring& word)
{
    return lowered.size() > word.size() && lowered.compare(0, word.size(), word) == 0;
}

std::wstring WithTrailingBackslash(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

// "\dir" means a folder on the drive the browser shows, not on the drive of the host process's own
// current directory.
std::wstring DriveRootOf(const std::wstring& folder)
{
    std::vector<wchar_t> root(folder.begin(), folder.end());
    root.push_back(L'\0');
    ::PathStripToRootW(root.data());
    return WithTrailingBackslash(root.data());
}

std::wstring WithoutLeadingSpaces(const std::wstring& text)
{
    const std::wstring::size_type start = text.find_first_not_of(L' ');
    return start == std::wstring::npos ? std::wstring() : text.substr(start);
}

bool HasDriveSwitch(const std::wstring& argument)
{
    return HasArgument(LowerAsciiLetters(WithoutLeadingSpaces(RemoveQuotes(argument))), L"/d ");
}

// The interpreter accepts the switch that also changes the drive; the browser needs only the path.
std::wstring WithoutDriveSwitch(const std::wstring& path)
{
    return HasArgument(LowerAsciiLetters(path), L"/d ") ? path.substr(3) : path;
}

bool IsRootRelative(const std::wstring& path)
{
    return path.size() >= 1 && path[0] == L'\\' && (path.size() == 1 || path[1] != L'\\');
}

std::wstring ResolveAgainst(const std::wstring& path, const std::wstring& currentFolder)
{
    if (IsRootRelative(path))
        return DriveRootOf(currentFolder) + path.substr(1);
    if (::PathIsRelativeW(path.c_str()))
        return WithTrailingBackslash(currentFolder) + path;
    return path;
}

bool IsExistingFolder(const std::wstring& path)
{
    return ::PathFileExistsW(path.c_str()) && ::PathIsDirectoryW(path.c_str());
}

// The folder that "cd" with this argument shows, or empty when there is none.
std::wstring ChangeFolderTarget(const std::wstring& argument, const std::wstring& currentFolder)
{
    const std::wstring path =
        WithoutLeadingSpaces(WithoutDriveSwitch(WithoutLeadingSpaces(RemoveQuotes(argument))));
    if (path.empty())
        return std::wstring();
    const std::wstring folder = ResolveAgainst(path, currentFolder);
    return IsExistingFolder(folder) ? folder : std::wstring();
}

}  // namespace

BuiltinCommand ParseBuiltinCommand(const std::wstring& line, const std::wstring& currentFolder)
{
    // The command word is recognised in any case, but paths and patterns keep the case typed.
    const std::wstring typed = TrimWhiteSpace(line);
    const std::wstring lowered = LowerAsciiLetters(typed);
    BuiltinCommand command;
    if (HasArgument(lowered, L"cd ")) {
        command.kind = BuiltinCommandKind::ChangeFolder;
        command.folder = ChangeFolderTarget(typed.substr(3), currentFolder);
        command.switchesDrive = HasDriveSwitch(typed.substr(3));
    } else if (lowered == L"rel") {
        command.kind = BuiltinCommandKind::Refresh;
    } else if (HasArgument(lowered, L"sel ")) {
        command.kind = BuiltinCommandKind::Select;
        command.patterns = typed.substr(4);
    } else if (HasArgument(lowered, L"filt ")) {
        command.kind = BuiltinCommandKind::Filter;
        command.patterns = typed.substr(5);
    }
    return command;
}

bool IsSentToInterpreter(const BuiltinCommand& command)
{
    return command.kind == BuiltinCommandKind::None || command.kind == BuiltinCommandKind::ChangeFolder;
}

std::wstring FolderAddress(const std::wstring& folder)
{
    // The browser decodes escapes in the address: a "%" or "#" that belongs to a folder's name must
    // not be read as an escape or as the start of a fragment, or another folder would be shown.
    std::wstring address = L"file:///";
    for (const wchar_t character : folder) {
        if (character == L'%')
            address += L"%25";
        else if (character == L'#')
            address += L"%23";
        else
            address += character;
    }
    return address;
}

}  // namespace shellview
