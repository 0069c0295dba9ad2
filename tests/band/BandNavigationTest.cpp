#include "BandTestSupport.h"
#include "shared/HelperPrograms.h"

#include <algorithm>
#include <string>

namespace {

using bandtest::BandInBrowser;
using bandtest::PromptOf;

using BandNavigation = BandInBrowser;

// The browser's location is an address: its escapes are decoded to the folder's own name, and the
// interpreter takes the folder without a word of its own.
TEST_F(BandNavigation, FolderWithSpacesIsReached)
{
    const std::wstring spaced = folder.Folder(L"with some spaces");
    const size_t from = Text().size();
    std::wstring address = L"file:///" + folder.Path() + L"/with%20some%20spaces";
    std::replace(address.begin(), address.end(), L'\\', L'/');
    ASSERT_EQ(S_OK, window.NavigateTo(address));
    ASSERT_TRUE(WaitForPrompt(spaced)) << Text();
    EXPECT_EQ(L"\r\n" + PromptOf(spaced), Text().substr(from));
}

// Run by the interpreter in the band's tests, never on its own.
TEST(BandHelper, DISABLED_ReadOneLine)
{
    testsupport::ReadOneLineAndSayIt();
}

}  // namespace
