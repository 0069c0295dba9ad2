#pragma once

#include <string>

namespace console {

// The private marks around the interpreter's prompt. The interpreter is started with the prompt
// "<folder mark>$P$G<end mark>": the user sees the usual "C:\folder>", and the output reader learns
// from the marks, which are never shown, where the interpreter stands and exactly where its prompt
// ends; what follows is the interpreter's echo of the line it reads (Windows' interpreter with echo
// on), or output. Both are operating system commands in the common shell-integration form 133
// (A: the prompt starts, B: it ends), with a nonce drawn for each interpreter, so output that only
// looks like a mark (the same marks from another shell, an old transcript) is never taken for one:
//   folder mark  ESC ] 1 3 3 ; A ; <nonce> ; <folder> ESC \ (backslash)
//   end mark     ESC ] 1 3 3 ; B ; <nonce> ESC \ (backslash)
// The prompt string holds "$E" where the marks hold the escape character, so echoing the PROMPT
// variable shows no mark either.
class PromptMarks {
public:
    static constexpr wchar_t Escape = L'\x1b';
    // What ends each mark after the escape character.
    static constexpr wchar_t Terminator = L'\\';

    // Marks with a nonce of 32 random hexadecimal digits.
    static PromptMarks Drawn();
    // Marks with the given nonce, which is expected to be hexadecimal digits: nothing in the
    // prompt command is then special to the interpreter (^ & % " and the like).
    explicit PromptMarks(const std::wstring& nonce);

    // The interpreter's command that sets the marked prompt.
    std::wstring PromptCommand() const;
    // The folder mark up to the folder.
    const std::wstring& FolderMarkStart() const noexcept { return folderMarkStart; }
    // The whole end mark.
    const std::wstring& EndMark() const noexcept { return endMark; }

private:
    std::wstring nonce;
    std::wstring folderMarkStart;
    std::wstring endMark;
};

}  // namespace console
