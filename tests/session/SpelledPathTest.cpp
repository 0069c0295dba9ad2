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
        EXPECT_TRUE(session::ReachesInterpreterUnchanged(*spelled, 437)) << *spelled;
        EXPECT_EQ(Identity(path), Identity(*spelled)) << *spelled;
        EXPECT_EQ(scratch.Path() + L"\\", spelled->substr(0, scratch.Path().size() + 1)) << "only the last part is shortened";
    }
    EXPECT_TRUE(SpelledPath(scratch.Folder(L"\x65e5\x672c"), 437)) << "a long name has a short one";
    EXPECT_FALSE(SpelledPath(scratch.Folder(L"%windir%"), 437)) << "a valid short name is its own short name";
    EXPECT_FALSE(SpelledPath(scratch.Path() + L"\\missing\x65e5", 437));
}

}  // namespace
