#include "session/SpelledPath.h"

#include "shared/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using session::SpelledPath;

// The identity of a file or folder, whatever name reaches it.
std::wstring Identity(const std::wstring& path)
{
    const HANDLE item = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (item == INVALID_HANDLE_VALUE)
        return std::wstring();
    BY_HANDLE_FILE_INFORMATION information = {};
    const BOOL read = ::GetFileInformationByHandle(item, &information);
    ::CloseHandle(item);
    if (!read)
        return std::wstring();
    return std::to_wstring(information.dwVolumeSerialNumber) + L":" + std::to_wstring(information.nFileIndexHigh) +
           L":" + std::to_wstring(information.nFileIndexLow);
}

// Whatever a name is replaced with reaches the interpreter unchanged and names the very same item.
TEST(SpelledPath, NamesTheSameItemInTextTheInterpreterReadsUnchanged)
{
    testsupport::ScratchFolder scratch;
    ASSERT_TRUE(scratch.Exists());
    const std::wstring plain = scratch.Folder(L"Plain & simple");
    EXPECT_EQ(plain, SpelledPath(plain, 437));
    EXPECT_EQ(plain, SpelledPath(plain, CP_UTF8));

    const std::wstring accented = scratch.Folder(L"Caf\xe9");
    EXPECT_EQ(accented, SpelledPath(accented, 437)) << "the OEM code page has the character";

    const std::wstring names[] = {L"\x65e5\x672c", L"x\xff02\xff06mkdir pwned\xff06\xff02", L"%windir%",
                                  L"100% sure", L"smile \xd83d\xde00"};
    for (const std::wstring& name : names) {
        const std::wstring path = scratch.Folder(name);
        const auto spelled = SpelledPath(path, 437);
        if (!spelled)
            continue;
        EXPECT_TRUE(session::ReachesInterpreterUnchanged(*spelled, 437, session::Line::Typed)) << *spelled;
        EXPECT_EQ(Identity(path), Identity(*spelled)) << *spelled;
        EXPECT_EQ(scratch.Path() + L"\\", spelled->substr(0, scratch.Path().size() + 1)) << "only the last part is shortened";
    }
    EXPECT_TRUE(SpelledPath(scratch.Folder(L"\x65e5\x672c"), 437)) << "a long name has a short one";
    EXPECT_FALSE(SpelledPath(scratch.Folder(L"%windir%"), 437)) << "a valid short name is its own short name";
    EXPECT_FALSE(SpelledPath(scratch.Path() + L"\\missing\x65e5", 437));
}

// The interpreter expands a "%" only where another one on its line pairs with it. On a line the
// console writes whole a name with one "%" passes as it is; a pair in the name never does. On the
// line the user types, the rest of which is the user's, every "%" of the name counts; the folder the
// interpreter stands in is not on the line at all.
TEST(SpelledPath, PercentPassesWhereNoOtherOnItsLineCanPairWithIt)
{
    using session::Line;
    EXPECT_FALSE(session::PercentCanPair(L"C:\\100% done", Line::Own));
    EXPECT_TRUE(session::PercentCanPair(L"C:\\50% off\\100% done", Line::Own));
    EXPECT_TRUE(session::PercentCanPair(L"100% done", Line::Typed));
    EXPECT_FALSE(session::PercentCanPair(L"done", Line::Typed));

    testsupport::ScratchFolder scratch;
    ASSERT_TRUE(scratch.Exists());
    const std::wstring lone = scratch.Folder(L"100% done");
    EXPECT_EQ(lone, SpelledPath(lone, 437, Line::Own));
    const std::wstring paths[] = {lone, scratch.Folder(L"%windir%"), scratch.Folder(L"100% done\\50% off")};
    for (const std::wstring& path : paths) {
        for (const Line line : {Line::Own, Line::Typed}) {
            const auto spelled = SpelledPath(path, 437, line);
            if (spelled) {
                EXPECT_FALSE(session::PercentCanPair(*spelled, line)) << *spelled;
                EXPECT_EQ(Identity(path), Identity(*spelled)) << *spelled;
            }
        }
    }
    EXPECT_FALSE(SpelledPath(scratch.Folder(L"%windir%"), 437, Line::Own)) << "a valid short name is its own short name";

    scratch.File(L"100% done\\notes.txt");
    scratch.File(L"\x65e5\x672c\\notes.txt");
    EXPECT_EQ(L"notes.txt", session::SpelledName(lone + L"\\", L"notes.txt", 437));
    EXPECT_EQ(L"notes.txt", session::SpelledName(scratch.Path() + L"\\\x65e5\x672c\\", L"notes.txt", 437));
}

}  // namespace
