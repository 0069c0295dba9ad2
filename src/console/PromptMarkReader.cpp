#include "console/PromptMarkReader.h"

#include <algorithm>

namespace console {

PromptMarkReader::PromptMarkReader(const PromptMarks& marks)
    : folderMarkStart(marks.FolderMarkStart()), endMark(marks.EndMark())
{
}

void PromptMarkReader::Read(const std::wstring& chunk, MarkedOutput& into)
{
    Scan(chunk.data(), chunk.size(), into);
}

void PromptMarkReader::Finish(MarkedOutput& into)
{
    into.text += held;
    held.clear();
    hasFolder = false;
}

// Text for the window; after a folder mark, the prompt shown is kept (as far as a prompt can be
// long) to be compared with the folder at the end mark.
void PromptMarkReader::Show(const wchar_t* begin, const wchar_t* end, MarkedOutput& into)
{
    into.text.append(begin, end);
    if (hasFolder && shownSinceFolder.size() <= LongestFolder + 1)
        shownSinceFolder.append(begin, std::min(static_cast<std::size_t>(end - begin), LongestFolder + 2));
}

void PromptMarkReader::Scan(const wchar_t* text, std::size_t count, MarkedOutput& into)
{
    const wchar_t* const end = text + count;
    while (text != end) {
        if (held.empty()) {
            // Text without an escape character is shown at once, in one piece.
            const wchar_t* const escape = std::find(text, end, PromptMarks::Escape);
            Show(text, escape, into);
            text = escape;
            if (text == end)
                return;
            mayBeFolderMark = mayBeEndMark = true;
        }
        held += *text++;
        const Judgement judgement = JudgeLatest();
        if (judgement == Judgement::NoMark)
            ShowHeldAsItCame(into);
        else if (judgement != Judgement::Unfinished)
            TakeMark(judgement, into);
    }
}

// Judges what is held by its latest character; what came before it could still be a mark.
PromptMarkReader::Judgement PromptMarkReader::JudgeLatest()
{
    const std::size_t position = held.size() - 1;
    const wchar_t latest = held.back();
    mayBeEndMark = mayBeEndMark && position < endMark.size() && endMark[position] == latest;
    if (mayBeEndMark && position + 1 == endMark.size())
        return Judgement::EndMark;
    Judgement folderJudgement = Judgement::NoMark;
    if (mayBeFolderMark) {
        folderJudgement = position < folderMarkStart.size()
                              ? (folderMarkStart[position] == latest ? Judgement::Unfinished : Judgement::NoMark)
                              : JudgeFolderPart(position, latest);
        mayBeFolderMark = folderJudgement != Judgement::NoMark;
    }
    if (folderJudgement == Judgement::FolderMark)
        return folderJudgement;
    return mayBeFolderMark || mayBeEndMark ? Judgement::Unfinished : Judgement::NoMark;
}

// After the folder mark's start: the folder, then the escape character and the terminator. An
// escape character not followed by the terminator is part of the folder as the code page wrote it.
PromptMarkReader::Judgement PromptMarkReader::JudgeFolderPart(std::size_t position, wchar_t latest) const
{
    const bool afterEscape = position > folderMarkStart.size() && held[position - 1] == PromptMarks::Escape;
    if (afterEscape && latest == PromptMarks::Terminator)
        return Judgement::FolderMark;
    // No prompt holds a line break, and no folder is longer than the system allows (the escape
    // character may start the terminator).
    const std::size_t folderLength = position + 1 - folderMarkStart.size() - (latest == PromptMarks::Escape ? 1 : 0);
    return latest == L'\r' || latest == L'\n' || folderLength > LongestFolder ? Judgement::NoMark
                                                                              : Judgement::Unfinished;
}

void PromptMarkReader::TakeMark(Judgement judgement, MarkedOutput& into)
{
    if (judgement == Judgement::FolderMark) {
        folder.assign(held, folderMarkStart.size(), held.size() - folderMarkStart.size() - 2);
        shownSinceFolder.clear();
        hasFolder = true;
    } else if (hasFolder) {
        // An end mark with no folder mark before it (that one was no mark) tells no prompt: it is
        // left out like every mark.
        const bool folderShown = shownSinceFolder.size() == folder.size() + 1 &&
                                 shownSinceFolder.compare(0, folder.size(), folder) == 0 &&
                                 shownSinceFolder.back() == L'>';
        into.prompts.push_back(MarkedPrompt{into.text.size(), folderShown ? folder : std::wstring()});
        hasFolder = false;
    }
    held.clear();
}

// The escape character that started what is held began no mark; the characters after it are read
// again, as one of them may start a mark. They hold at most one more escape character, so this
// goes at most two deep.
void PromptMarkReader::ShowHeldAsItCame(MarkedOutput& into)
{
    Show(held.data(), held.data() + 1, into);
    const std::wstring after = held.substr(1);
    held.clear();
    Scan(after.data(), after.size(), into);
}

}  // namespace console
