#include "dragdrop/DroppedFiles.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

namespace {

using dragdrop::NameForCommandLine;

TEST(DroppedFiles, BareNamesFromTheCurrentFolderFullPathsOtherwise)
{
    EXPECT_EQ(L"a.txt", NameForCommandLine(L"C:\\Work\\a.txt", L"C:\\Work"));
    EXPECT_EQ(L"C:\\Work\\a.txt", NameForCommandLine(L"C:\\Work\\a.txt", L"C:\\Other"));
    EXPECT_EQ(L"a.txt", NameForCommandLine(L"c:\\work\\a.txt", L"C:\\Work"));
    EXPECT_EQ(L"boot.ini", NameForCommandLine(L"C:\\boot.ini", L"C:\\"));
    EXPECT_EQ(L"Sub", NameForCommandLine(L"C:\\Work\\Sub", L"C:\\Work"));
}

TEST(DroppedFiles, NamesWithSpacesAreQuotedWhole)
{
    EXPECT_EQ(L"\"my notes.txt\"", NameForCommandLine(L"C:\\Work\\my notes.txt", L"C:\\Work"));
    EXPECT_EQ(L"\"C:\\Work\\my notes.txt\"", NameForCommandLine(L"C:\\Work\\my notes.txt", L"D:\\"));
    EXPECT_EQ(L"\"C:\\My Work\\a.txt\"", NameForCommandLine(L"C:\\My Work\\a.txt", L"C:\\"));
    EXPECT_EQ(L"\"notes&echo.INJECTED\"", NameForCommandLine(L"C:\\Work\\notes&echo.INJECTED", L"C:\\Work"));
    EXPECT_EQ(L"\"a^b.txt\"", NameForCommandLine(L"C:\\Work\\a^b.txt", L"C:\\Work"));
    EXPECT_EQ(L"\"C:\\x,y\\a.txt\"", NameForCommandLine(L"C:\\x,y\\a.txt", L"C:\\Work"));
}

// A file list in global memory, as a drag source hands it over.
HGLOBAL MakeFileList(const std::vector<std::wstring>& paths)
{
    size_t characters = 1;
    for (const auto& path : paths)
        characters += path.size() + 1;
    HGLOBAL memory = ::GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* names = reinterpret_cast<wchar_t*>(header + 1);
    for (const auto& path : paths) {
        std::memcpy(names, path.c_str(), (path.size() + 1) * sizeof(wchar_t));
        names += path.size() + 1;
    }
    ::GlobalUnlock(memory);
    return memory;
}

TEST(DroppedFiles, LongPathsAreReadWhole)
{
    const std::wstring longPath = L"C:\\" + std::wstring(300, L'd') + L"\\" + std::wstring(200, L'f') + L".txt";
    HGLOBAL list = MakeFileList({L"C:\\short.txt", longPath});
    auto* drop = static_cast<HDROP>(::GlobalLock(list));
    const auto paths = dragdrop::ReadDroppedPaths(drop);
    ::GlobalUnlock(list);
    ::GlobalFree(list);
    ASSERT_EQ(2u, paths.size());
    EXPECT_EQ(L"C:\\short.txt", paths[0]);
    EXPECT_EQ(longPath, paths[1]);
    EXPECT_EQ(std::wstring(200, L'f') + L".txt", NameForCommandLine(longPath, L"C:\\" + std::wstring(300, L'd')));
}

}  // namespace
