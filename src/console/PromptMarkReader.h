#pragma once

#include "console/MarkedOutput.h"
#include "console/PromptMarks.h"

#include <cstddef>
#include <string>

namespace console {

// Takes the marks out of the interpreter's decoded output and tells where its prompts ended. Fed
// the output in chunks as they were read, it gives the text to show and, at their places in it,
// the prompts whose end mark completed, each with the folder of the folder mark before it. A mark
// may be cut anywhere by the end of a chunk: what may still become a mark is held for the next one,
// and shown as it came as soon as it cannot (another sequence, another nonce, a bare escape
// character), or when the output ends. What is held stays bounded: a folder longer than any path
// the system allows, or one with a line break in it, is no mark.
//
// The interpreter writes the folder in its code page, whose best fit may turn a character into a
// control character, the escape character among them, which may end the folder mark early. So a
// prompt tells its folder only when the prompt shown between the marks is that folder and ">", as
// the interpreter prints it; else it tells an empty folder: the interpreter waits, where is unknown.
class PromptMarkReader {
public:
    // The longest folder a mark carries, in UTF-16 units: the longest path the system allows.
    static constexpr std::size_t LongestFolder = 32767;

    explicit PromptMarkReader(const PromptMarks& marks);

    // Reads the next chunk: its text to show and the prompts it completes go behind what `into` holds.
    void Read(const std::wstring& chunk, MarkedOutput& into);
    // The output ended: what is held was no mark and is shown as it came.
    void Finish(MarkedOutput& into);

private:
    enum class Judgement { NoMark, Unfinished, FolderMark, EndMark };

    void Scan(const wchar_t* text, std::size_t count, MarkedOutput& into);
    Judgement JudgeLatest();
    Judgement JudgeFolderPart(std::size_t position, wchar_t latest) const;
    void TakeMark(Judgement judgement, MarkedOutput& into);
    void ShowHeldAsItCame(MarkedOutput& into);
    void Show(const wchar_t* begin, const wchar_t* end, MarkedOutput& into);

    const std::wstring folderMarkStart;
    const std::wstring endMark;
    // What may still become a mark: it starts with the escape character.
    std::wstring held;
    bool mayBeFolderMark = false;
    bool mayBeEndMark = false;
    // The folder of the last folder mark, until the end mark after it, and what was shown since.
    std::wstring folder;
    std::wstring shownSinceFolder;
    bool hasFolder = false;
};

}  // namespace console
