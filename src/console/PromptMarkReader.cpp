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

void PromptMarkReader::Scan(const wchar_t* text, std::size_t count, MarkedOutput& into)
{
    const wchar_t* const end = text + count;
    while (text != end) {
        if (held.empty()) {
            // Text without an escape character is shown at once, in one piece.
            const wchar_t* const escape = std::find(text, end, PromptMarks::Escape);
            into.text.append(text, escape);
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

// After the folder mark's start: the folder, then the escape character and the terminator.
PromptMarkReader::Judgement PromptMarkReader::JudgeFolderPart(std::size_t position, wchar_t latest) const
{
    const bool afterEscape = position > folderMarkStart.size() && held[position - 1] == PromptMarks::Escape;
    if (afterEscape)
        return latest == PromptMarks::Terminator ? Judgement::FolderMark : Judgement::NoMark;
    if (latest == PromptMarks::Escape)
        return Judgement::Unfinished;
    // No folder name holds a control character, and none is longer than the system allows.
    const std::size_t folderLength = position + 1 - folderMarkStart.size();
    return latest < L' ' || folderLength > LongestFolder ? Judgement::NoMark : Judgement::Unfinished;
}

void PromptMarkReader::TakeMark(Judgement judgement, MarkedOutput& into)
{
    if (judgement == Judgement::FolderMark) {
        folder.assign(held, folderMarkStart.size(), held.size() - folderMarkStart.size() - 2);
        hasFolder = true;
    } else if (hasFolder) {
        // An end mark with no folder mark before it (that one was no mark) tells no folder: it is
        // left out like every mark, and no prompt is told.
        into.prompts.push_back(MarkedPrompt{into.text.size(), folder});
        hasFolder = false;
    }
    held.clear();
}

// The escape character that started what is held began no mark; the characters after it are read
// again, as one of them may start a mark. They hold at most one more escape character, so this
// goes at most two deep.
void PromptMarkReader::ShowHeldAsItCame(MarkedOutput& into)
{
    into.text += held.front();
    const std::wstring after = held.substr(1);
    held.clear();
    Scan(after.data(), after.size(), into);
}

}  // namespace console
