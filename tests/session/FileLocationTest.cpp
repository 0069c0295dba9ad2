#include "session/FileLocation.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct FolderCase {
    const wchar_t* location;
    const wchar_t* expectedFolder;  // null: no file-system folder
};

const FolderCase folderCases[] = {
    // Folders and spaces.
    {L"file:///C:/Program%20Files", L"C:\\Program Files"},
    {L"file:///C:/Program%20Files/Common%20Files", L"C:\\Program Files\\Common Files"},
    // Drive roots keep exactly one backslash.
    {L"file:///D:/", L"D:\\"},
    {L"file:///D:", L"D:\\"},
    // Every escape is decoded, runs of them as UTF-8.
    {L"file:///C:/100%25", L"C:\\100%"},
    {L"file:///C:/a%23b", L"C:\\a#b"},
    {L"file:///C:/Caf%C3%A9%20Cr%C3%A8me", L"C:\\Caf\u00e9 Cr\u00e8me"},
    {L"file:///C:/%E6%97%A5%E6%9C%AC", L"C:\\\u65e5\u672c"},
    {L"file:///C:/%F0%9F%93%81", L"C:\\\U0001F4C1"},
    {L"file:///C:/Caf\u00e9", L"C:\\Caf\u00e9"},
    // A "%" without two hex digits after it is a plain character.
    {L"file:///C:/50%", L"C:\\50%"},
    {L"file:///C:/50%2", L"C:\\50%2"},
    {L"file:///C:/%zz%2x", L"C:\\%zz%2x"},
    // Escapes that spell no text name no folder.
    {L"file:///C:/bad%C3%28", nullptr},
    {L"file:///C:/bad%FF", nullptr},
    {L"file:///C:/nul%00here", nullptr},
    // The location prefix alone names no folder.
    {L"file:///", nullptr},
    // Anything else is not a file-system folder.
    {L"FILE:///C:/Windows", nullptr},
    {L"file://server/share/folder", nullptr},
    {L"http://www.example.com/", nullptr},
    {L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", nullptr},
    {L"file:/", nullptr},
    {L"", nullptr},
};

TEST(FileLocation, FileLocationsBecomeFoldersAndOthersNone)
{
    for (const FolderCase& folderCase : folderCases) {
        const std::optional<std::wstring> folder = session::FolderOfLocation(folderCase.location);
        if (folderCase.expectedFolder == nullptr)
            EXPECT_FALSE(folder) << folderCase.location;
        else
            EXPECT_EQ(std::wstring(folderCase.expectedFolder), folder.value_or(L"(none)")) << folderCase.location;
    }
    EXPECT_FALSE(session::FolderOfLocation(nullptr));
    EXPECT_EQ(L"D:\\", session::WithTrailingBackslash(L"D:\\"));
    EXPECT_EQ(L"C:\\Program Files\\", session::WithTrailingBackslash(L"C:\\Program Files"));
}

}  // namespace
