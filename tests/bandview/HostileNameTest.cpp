#include "ConsoleBand.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using bandview::ConsoleBand;
using bandview::ScratchFolder;

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Names that the interpreter would read as something else unless the band spells them with care;
// a canary command in several of them creates the folder "canary" should any part of one run.
std::vector<std::wstring> HostileNames()
{
    return {
        L"q\xff02\xff06mkdir canary\xff06\xff02",  // full-width quotation mark and ampersand
        L"g\xff02\xff06mkdir\xff1e" L"canary\xff06\xff02",  // full-width greater-than
        L"\xff05windir\xff05",                       // full-width percent signs
        L"a&mkdir canary",
        L"c^b",
        L"x,y",
        L"s;t",
        L"(p",
        L"%windir%",
        L"!x!",
        L"Caf\xe9",
        L"\x65e5\x672c",
        L"smile\xd83d\xde00",
        std::wstring(250, L'n'),
    };
}

// The band and its interpreter in a folder of hostile names: each is a file there, and a folder
// below "dirs"; decoys carry the names the interpreter would act on if it split a name.
class HostileName : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(scratch.Exists());
        for (const wchar_t* decoy : {L"x", L"y", L"cb", L"s", L"t", L"p"})
            scratch.File(decoy);
        ASSERT_TRUE(console.Open(scratch.Path()));
    }

    void TearDown() override
    {
        EXPECT_FALSE(Exists(scratch.Path() + L"\\canary")) << "a part of a name ran as a command";
        for (const wchar_t* decoy : {L"x", L"y", L"cb", L"s", L"t", L"p"})
            EXPECT_TRUE(Exists(scratch.Path() + L"\\" + decoy)) << "a command acted on another file than named";
    }

    // Waits until a prompt ends the text again after position, and takes what follows as input.
    bool WaitForNewPrompt(size_t position)
    {
        return console.WaitFor([&] {
            const std::wstring text = console.Text();
            return text.size() > position && text.back() == L'>' && console.Text().find(L'\n', position) != std::wstring::npos;
        }) && console.WaitForPrompt(LastLineWithoutPrompt());
    }

    std::wstring LastLineWithoutPrompt() const
    {
        const std::wstring text = console.Text();
        const size_t start = text.find_last_of(L'\n') + 1;
        return text.substr(start, text.size() - start - 1);
    }

    // Every name has a form the interpreter reads unchanged, itself or its short name, except one
    // that is its own short name and holds what the interpreter changes.
    static bool Reachable(const std::wstring& name) { return name != L"%windir%"; }

    bool Refused(size_t position) const { return console.Text().find(L"console", position) != std::wstring::npos; }

    // The folder is entered exactly, or the console says why not and stays where it was.
    void Navigate(const std::wstring& name)
    {
        const std::wstring folder = scratch.Folder(L"dirs\\" + name);
        size_t before = console.OutputEnd();
        ASSERT_TRUE(SUCCEEDED(console.Browser().NavigateTo(folder)));
        ASSERT_TRUE(WaitForNewPrompt(before)) << console.Text();
        const bool refused = Refused(before);
        if (strict) {
            EXPECT_EQ(!Reachable(name), refused) << console.Text().substr(before);
        }
        before = console.OutputEnd();
        console.Submit(L"md marker");
        ASSERT_TRUE(WaitForNewPrompt(before)) << console.Text();
        EXPECT_NE(refused, Exists(folder + L"\\marker")) << name;
        if (refused) {
            EXPECT_TRUE(::RemoveDirectoryW((scratch.Path() + L"\\marker").c_str())) << "stayed where it was";
        }
        // Back where it stayed after a refusal, the interpreter is sent nothing.
        before = console.OutputEnd();
        const int shown = console.Browser().DocumentCompleteCount();
        ASSERT_TRUE(SUCCEEDED(console.Browser().NavigateTo(scratch.Path())));
        if (refused)
            ASSERT_TRUE(console.WaitFor([&] { return console.Browser().DocumentCompleteCount() > shown; }));
        else
            ASSERT_TRUE(console.WaitForPrompts(scratch.Path(), before, 1));
    }

    // "del" and the dropped or completed name delete exactly that file, or the console says why
    // the name cannot be written and leaves the line as it was.
    template <typename Insert>
    void DeleteThrough(const std::wstring& name, Insert insert)
    {
        const std::wstring file = scratch.File(name);
        ASSERT_TRUE(Exists(file)) << name;
        console.Type(L"del ");
        size_t before = console.OutputEnd();
        const std::wstring typed = L"del " + insert(file);
        if (Refused(before)) {
            EXPECT_FALSE(strict && Reachable(name)) << console.Text().substr(before);
            EXPECT_TRUE(testsupport::EndsWith(console.Text(), bandview::PromptOf(scratch.Path()) + typed))
                << "the line stays as it was";
            for (size_t i = 0; i < typed.size(); ++i)
                console.Press(VK_BACK);
            ASSERT_TRUE(console.WaitForPrompt(scratch.Path()));
            EXPECT_TRUE(::DeleteFileW(file.c_str()));
            return;
        }
        EXPECT_NE(std::wstring::npos, console.Input().find(L"del ")) << console.Input();
        before = console.OutputEnd();
        console.Press(VK_RETURN);
        ASSERT_TRUE(console.WaitForPrompts(scratch.Path(), before, 1)) << console.Text();
        EXPECT_FALSE(Exists(file)) << name << "\n" << console.Text().substr(before);
    }

    void Drop(const std::wstring& name)
    {
        DeleteThrough(name, [&](const std::wstring& file) {
            console.Browser().DropFilesOnBand({file});
            return std::wstring();
        });
    }

    void Complete(const std::wstring& name)
    {
        DeleteThrough(name, [&](const std::wstring&) {
            // A word with a space is only one word when quoted.
            const wchar_t* quote = name.find(L' ') != std::wstring::npos ? L"\"" : L"";
            const std::wstring typed = quote + name.substr(0, name.size() - 1);
            const size_t before = console.OutputEnd();
            console.Type(typed);
            console.PressCtrlTab();
            // The press right after editing ends a search still open from an earlier completion.
            if (!Refused(before) && testsupport::EndsWith(console.Text(), typed))
                console.PressCtrlTab();
            return typed;
        });
    }

    ScratchFolder scratch{L"C:\\"};
    bool strict = true;  // names of the table, whose outcome is known
    ConsoleBand console;
};

TEST_F(HostileName, NavigatingDroppingAndCompletingReachExactlyTheNamedItem)
{
    for (const std::wstring& name : HostileNames()) {
        SCOPED_TRACE(testing::Message() << "name of " << name.size() << " characters");
        Navigate(name);
        Drop(name);
        Complete(name);
    }
}

// The same through names drawn at random from the hostile characters; the seed makes a failure
// repeatable.
TEST_F(HostileName, RandomNamesOfHostileCharactersReachExactlyTheNamedItem)
{
    const std::wstring alphabet[] = {L"a",      L"&",      L"^",      L",",      L";",      L"(",      L")",
                                     L"%",      L"!",      L" ",      L"'",      L"=",      L"+",      L"~",
                                     L"\xe9",   L"\x65e5", L"\xff02", L"\xff06", L"\xff05", L"\xff1e", L"\xd83d\xde00",
                                     L"windir", L"&mkdir canary&"};
    strict = false;
    std::mt19937 generator(20261207);
    std::uniform_int_distribution<size_t> pick(0, sizeof(alphabet) / sizeof(alphabet[0]) - 1);
    std::uniform_int_distribution<int> length(2, 7);
    for (int round = 0; round < 12; ++round) {
        std::wstring name = L"r";
        for (int part = length(generator); part > 0; --part)
            name += alphabet[pick(generator)];
        if (name.back() == L' ')
            name += L"z";
        SCOPED_TRACE(testing::Message() << "round " << round);
        if (round % 2 == 0)
            Drop(name);
        else
            Complete(name);
    }
}

// "?" stands in for a character the code page lacks, and "?" is a wildcard: "del ??.txt" would
// delete ab.txt. The line is not sent and stays as typed, under the reason.
TEST(TypedLine, WithCharactersTheCodePageLacksIsNotSentAndStaysAsTyped)
{
    ScratchFolder scratch;
    ASSERT_TRUE(scratch.Exists());
    const std::wstring decoy = scratch.File(L"ab.txt");
    ConsoleBand console;
    ASSERT_TRUE(console.Open(scratch.Path()));
    const std::wstring line = L"del \x65e5\x672c.txt";
    console.Submit(line);
    EXPECT_TRUE(testsupport::EndsWith(console.Text(), bandview::PromptOf(scratch.Path()) + line)) << console.Text();
    EXPECT_NE(std::wstring::npos, console.Text().find(L"Not sent", console.OutputEnd())) << console.Text();

    console.Submit(L"");
    ASSERT_TRUE(console.WaitFor([&] { return bandview::Occurrences(console.Text(), L"Not sent") == 2; }));
    EXPECT_TRUE(Exists(decoy));
}

}  // namespace
