#include "settings/HistoryFile.h"

#include "shared/ScratchFolder.h"
#include "support/UniqueHandle.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using settings::HistoryFile;
using Lines = std::vector<std::wstring>;

std::string ReadBytes(const std::wstring& path)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
    file << bytes;
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Lines FilesIn(const std::wstring& folder)
{
    Lines names;
    WIN32_FIND_DATAW found{};
    const support::UniqueFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!search)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (::FindNextFileW(search.Get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}

class HistoryFileTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.Exists()); }

    testsupport::ScratchFolder folder;
    // The folder it lives in is made by the first save.
    std::wstring path = folder.Path() + L"\\Brimblestone\\history.txt";
};

TEST_F(HistoryFileTest, SavedLinesComeBackNewestLastAsTyped)
{
    HistoryFile history(path);
    const HistoryFile::Loaded nothing = history.Load(100);
    EXPECT_TRUE(nothing.lines.empty());
    EXPECT_EQ(L"", nothing.problem) << "no file yet is no problem";

    const std::wstring accents = L"echo \u00FCn\u00EFc\u00F6d\u00E9 \U0001F600";
    for (const std::wstring& line : Lines{L"dir", L" set PASSWORD=secret", accents, L"", L"echo one\r\necho two",
                                          L"cd \"C:\\Program Files\"", L"echo \xD83D half"})
        EXPECT_EQ(L"", history.Append(line, 100)) << "saving works, or the line is not one to keep";
    EXPECT_EQ(std::string("Brimblestone command history 1\ndir\necho \xC3\xBCn\xC3\xAF" "c\xC3\xB6" "d\xC3\xA9 "
                          "\xF0\x9F\x98\x80\ncd \"C:\\Program Files\"\n"),
              ReadBytes(path));
    EXPECT_EQ((Lines{L"history.txt", L"history.txt.lock"}), FilesIn(folder.Path() + L"\\Brimblestone"))
        << "no temporary file is left behind";

    HistoryFile another(path);
    EXPECT_EQ((Lines{L"dir", accents, L"cd \"C:\\Program Files\""}), another.Load(100).lines);
    EXPECT_EQ((Lines{accents, L"cd \"C:\\Program Files\""}), another.Load(2).lines);
    EXPECT_EQ(L"", another.Append(L"exit", 2));
    EXPECT_EQ((Lines{L"cd \"C:\\Program Files\"", L"exit"}), history.Load(100).lines) << "only the newest are kept";

    // As a text editor may save it: a byte order mark, CR LF line ends, blank lines.
    WriteBytes(path, "\xEF\xBB\xBF" "Brimblestone command history 1\r\nver\r\n\r\nvol\r\n");
    EXPECT_EQ((Lines{L"ver", L"vol"}), history.Load(100).lines);
}

TEST_F(HistoryFileTest, TwoConsolesSavingAtOnceKeepEveryLine)
{
    constexpr int LinesEach = 40;
    const support::UniqueHandle start(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    const auto console = [&](wchar_t name, std::wstring& problems) {
        HistoryFile history(path);
        ::WaitForSingleObject(start.Get(), 10000);
        for (int line = 0; line < LinesEach; ++line)
            problems += history.Append(std::wstring(1, name) + std::to_wstring(line), 1000);
    };
    std::wstring problemsOfA;
    std::wstring problemsOfB;
    std::thread a(console, L'a', std::ref(problemsOfA));
    std::thread b(console, L'b', std::ref(problemsOfB));
    ::SetEvent(start.Get());
    a.join();
    b.join();
    EXPECT_EQ(L"", problemsOfA);
    EXPECT_EQ(L"", problemsOfB);

    const Lines saved = HistoryFile(path).Load(1000).lines;
    ASSERT_EQ(static_cast<size_t>(2 * LinesEach), saved.size());
    int nextOfA = 0;
    int nextOfB = 0;
    for (const std::wstring& line : saved) {
        int& next = line[0] == L'a' ? nextOfA : nextOfB;
        EXPECT_EQ(std::to_wstring(next), line.substr(1)) << "each console's lines in the order it ran them";
        ++next;
    }
}

// Another program holding the lock: the line waits, the console hears of it once, and it is
// saved with the next line once the lock is free.
TEST_F(HistoryFileTest, ALockedHistoryKeepsTheLineForTheNextSave)
{
    HistoryFile history(path);
    ASSERT_EQ(L"", history.Append(L"first", 100));
    {
        const support::UniqueFileHandle held(::CreateFileW((path + L".lock").c_str(), GENERIC_READ, 0, nullptr,
                                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(held);
        const std::wstring problem = history.Append(L"second", 100);
        EXPECT_EQ(0u, problem.find(L"Command history not saved (the history is locked: ")) << problem;
        EXPECT_EQ(L"", history.Append(L"third", 100)) << "said once while it lasts";
        EXPECT_EQ((Lines{L"first"}), HistoryFile(path).Load(100).lines) << "read without the lock";
    }
    EXPECT_EQ(L"", history.Append(L"fourth", 100));
    EXPECT_EQ((Lines{L"first", L"second", L"third", L"fourth"}), HistoryFile(path).Load(100).lines);
}

void MakeHuge(const std::wstring& path)
{
    const support::UniqueFileHandle file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    size.QuadPart = HistoryFile::LargestFile + 1;
    ::SetFilePointerEx(file.Get(), size, nullptr, FILE_BEGIN);
    ::SetEndOfFile(file.Get());
}

TEST_F(HistoryFileTest, ADamagedOrForeignFileIsSetAsideWithOneLine)
{
    struct Damage {
        std::string bytes;
        const wchar_t* reason;
    };
    const std::string header = "Brimblestone command history 1\n";
    const Damage damages[] = {
        {header + "dir\n\xC3\x28 broken\n", L"is not UTF-8 text"},
        {header + std::string("dir\0\x01\x02", 6), L"holds binary data"},
        {"#!/bin/sh\necho not ours\n", L"is not a command history of this program"},
        {"Brimblestone command history 2\ndir\n", L"is not a command history of this program"},
        {"", L"is larger than 16 MB"},
    };
    ::CreateDirectoryW((folder.Path() + L"\\Brimblestone").c_str(), nullptr);
    for (const Damage& damage : damages) {
        SCOPED_TRACE(testing::Message() << damage.reason);
        if (damage.bytes.empty())
            MakeHuge(path);
        else
            WriteBytes(path, damage.bytes);
        HistoryFile history(path);
        const HistoryFile::Loaded loaded = history.Load(100);
        EXPECT_TRUE(loaded.lines.empty());
        EXPECT_EQ(L"Command history not read: " + path + L" " + damage.reason + L". It was renamed history.txt.damaged.",
                  loaded.problem);
        EXPECT_FALSE(Exists(path));
        EXPECT_TRUE(Exists(path + L".damaged"));
        EXPECT_EQ(L"", history.Append(L"dir", 100));
        EXPECT_EQ((Lines{L"dir"}), history.Load(100).lines) << "saving starts afresh";
    }

    // Met first by a save: set aside all the same, and the line is saved.
    WriteBytes(path, std::string("\xFF\xFE" "d\0i\0r\0", 8));
    HistoryFile history(path);
    EXPECT_EQ(L"", history.Append(L"ver", 100));
    EXPECT_EQ((Lines{L"ver"}), history.Load(100).lines);
    EXPECT_EQ(std::string("\xFF\xFE" "d\0i\0r\0", 8), ReadBytes(path + L".damaged"));
}

}  // namespace
