#include "console/PromptMarkReader.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace console {

bool operator==(const MarkedPrompt& left, const MarkedPrompt& right)
{
    return left.offset == right.offset && left.folder == right.folder;
}

void PrintTo(const MarkedPrompt& prompt, std::ostream* out)
{
    *out << "{" << prompt.offset << ", " << ::testing::PrintToString(prompt.folder) << "}";
}

}  // namespace console

namespace {

using console::MarkedOutput;
using console::MarkedPrompt;
using console::PromptMarkReader;
using console::PromptMarks;

const PromptMarks Marks(L"0123456789ABCDEF0123456789ABCDEF");
const std::wstring Escape(1, L'\x1b');

std::wstring FolderMark(const std::wstring& folder, const PromptMarks& marks = Marks)
{
    return marks.FolderMarkStart() + folder + Escape + L"\\";
}

// What the interpreter prints as its prompt in `folder`.
std::wstring Prompt(const std::wstring& folder, const PromptMarks& marks = Marks)
{
    return FolderMark(folder, marks) + folder + L">" + marks.EndMark();
}

MarkedOutput ReadInChunks(const std::vector<std::wstring>& chunks)
{
    PromptMarkReader reader(Marks);
    MarkedOutput read;
    for (const std::wstring& chunk : chunks)
        reader.Read(chunk, read);
    reader.Finish(read);
    return read;
}

// The output read whole, cut once at every position, and one character at a time gives the same
// text and prompts.
void ExpectReadAtEveryCut(const std::wstring& output, const std::wstring& text, const std::vector<MarkedPrompt>& prompts)
{
    std::vector<std::vector<std::wstring>> readings;
    for (std::size_t cut = 0; cut <= output.size(); ++cut)
        readings.push_back({output.substr(0, cut), output.substr(cut)});
    std::vector<std::wstring> characters;
    for (wchar_t character : output)
        characters.emplace_back(1, character);
    readings.push_back(characters);
    for (const auto& chunks : readings) {
        const MarkedOutput read = ReadInChunks(chunks);
        ASSERT_EQ(text, read.text) << "first chunk " << ::testing::PrintToString(chunks[0]);
        ASSERT_EQ(prompts, read.prompts) << "first chunk " << ::testing::PrintToString(chunks[0]);
    }
}

TEST(PromptMarkReader, MarksAreTakenOutAndPromptsToldAtTheirPlaceWhereverTheReadsCutThem)
{
    const std::wstring output = L"\r\n" + Prompt(L"C:\\Work") + L"dir\r\n listing\r\n\r\n" + Prompt(L"C:\\") +
                                L"\r\n" + Prompt(L"D:\\100% done\\Caf\xe9 \x65e5\x672c; \xd83d\xde00");
    const std::wstring first = L"\r\nC:\\Work>";
    const std::wstring second = first + L"dir\r\n listing\r\n\r\nC:\\>";
    const std::wstring third = second + L"\r\nD:\\100% done\\Caf\xe9 \x65e5\x672c; \xd83d\xde00>";
    ExpectReadAtEveryCut(output, third,
                         {{first.size(), L"C:\\Work"},
                          {second.size(), L"C:\\"},
                          {third.size(), L"D:\\100% done\\Caf\xe9 \x65e5\x672c; \xd83d\xde00"}});
}

TEST(PromptMarkReader, PromptIsToldOnlyAtItsEndMarkWithTheFolderItShows)
{
    // Only the end mark tells a prompt: an unmatched end mark tells none, and of two folder marks
    // the latter counts. Neither is ever shown.
    ExpectReadAtEveryCut(Marks.EndMark() + L"a" + FolderMark(L"C:\\old") + L"b" + Prompt(L"C:\\new") +
                             Marks.EndMark(),
                         L"abC:\\new>", {{9, L"C:\\new"}});
    // A prompt that does not show the folder of its mark tells an unknown folder.
    ExpectReadAtEveryCut(FolderMark(L"C:\\") + FolderMark(L"D:\\") + Marks.EndMark(), L"", {{0, L""}});
    ExpectReadAtEveryCut(FolderMark(L"C:\\a") + L"C:\\b>" + Marks.EndMark(), L"C:\\b>", {{5, L""}});
}

// The code page's best fit can turn a character of the folder into a control character, the escape
// character too: the folder is told as the interpreter printed it, or, where the escape character
// ended the mark early, the prompt tells an unknown folder.
TEST(PromptMarkReader, FolderWithControlCharactersIsToldAsPrintedOrAsUnknown)
{
    const std::wstring controls = L"C:\\a\a" + Escape + L"]b" + Escape + Escape + L"c";
    ExpectReadAtEveryCut(Prompt(controls) + L"x", controls + L">x", {{controls.size() + 1, controls}});
    const std::wstring cut = L"C:\\a" + Escape + L"\\b";
    const std::wstring shown = L"b" + Escape + L"\\" + cut + L">";
    ExpectReadAtEveryCut(Prompt(cut), shown, {{shown.size(), L""}});
}

TEST(PromptMarkReader, UnfinishedMarkIsHeldWhileItCanBeOneAndShownAsItCameWhenTheOutputEnds)
{
    const std::wstring marks[] = {Marks.FolderMarkStart() + L"C:\\Work" + Escape + L"\\", Marks.EndMark()};
    for (const std::wstring& mark : marks) {
        for (std::size_t length = 1; length < mark.size(); ++length) {
            const std::wstring unfinished = mark.substr(0, length);
            PromptMarkReader reader(Marks);
            MarkedOutput read;
            reader.Read(L"out" + unfinished, read);
            EXPECT_EQ(L"out", read.text) << "held: " << ::testing::PrintToString(unfinished);
            reader.Finish(read);
            EXPECT_EQ(L"out" + unfinished, read.text);
            EXPECT_TRUE(read.prompts.empty());
        }
    }
    // A folder mark whose prompt never ended tells nothing.
    ExpectReadAtEveryCut(FolderMark(L"C:\\") + L"C:\\>", L"C:\\>", {});
}

TEST(PromptMarkReader, LookAlikesAreShownAsTheyCame)
{
    const PromptMarks otherNonce(L"0123456789ABCDEF0123456789ABCDE0");
    const std::wstring lookAlikes[] = {
        Escape,
        L"a" + Escape + L" b" + Escape + Escape + L"c",
        Escape + L"[31mred" + Escape + L"[0m",
        Escape + L"]0;title\a",
        Escape + L"]9;9;C:\\Work" + Escape + L"\\",
        Escape + L"]133;A" + Escape + L"\\" + Escape + L"]133;B" + Escape + L"\\",
        Prompt(L"C:\\Work", otherNonce),
        Marks.FolderMarkStart().substr(0, Marks.FolderMarkStart().size() - 1) + L"0;C:\\" + Escape + L"\\",
        Marks.EndMark().substr(0, Marks.EndMark().size() - 1) + L"/",
        Marks.FolderMarkStart() + L"C:\\line\r\nbreak" + Escape + L"\\",
    };
    for (const std::wstring& lookAlike : lookAlikes) {
        SCOPED_TRACE(::testing::PrintToString(lookAlike));
        ExpectReadAtEveryCut(lookAlike, lookAlike, {});
        // What follows a look-alike is read as ever, a mark right behind it included.
        ExpectReadAtEveryCut(lookAlike + Prompt(L"C:\\") + L"x", lookAlike + L"C:\\>x", {{lookAlike.size() + 4, L"C:\\"}});
    }
}

TEST(PromptMarkReader, FolderMarkIsHeldNoLongerThanTheLongestPath)
{
    const std::wstring longest = L"C:\\" + std::wstring(PromptMarkReader::LongestFolder - 3, L'x');
    PromptMarkReader reader(Marks);
    MarkedOutput read;
    reader.Read(Prompt(longest), read);
    EXPECT_EQ(longest + L">", read.text);
    ASSERT_EQ(1u, read.prompts.size());
    EXPECT_EQ(longest, read.prompts[0].folder);

    const std::wstring tooLong = FolderMark(longest + L"y");
    read.Clear();
    reader.Read(tooLong.substr(0, tooLong.size() - 2), read);
    EXPECT_EQ(tooLong.substr(0, tooLong.size() - 2), read.text) << "shown as soon as it is too long";
    reader.Read(tooLong.substr(tooLong.size() - 2) + Marks.EndMark(), read);
    EXPECT_EQ(tooLong, read.text);
    EXPECT_TRUE(read.prompts.empty());
}

}  // namespace
