#pragma once

#include "support/WindowImpl.h"
#include "view/OutputLineEnds.h"

#include <string>

namespace view {

// Sent to the text box's parent when the text box gets the keyboard focus; wParam TRUE.
constexpr UINT EditFocusMessage = WM_APP + 1;

// The console text box: the interpreter's output, protected from editing, followed by the
// command line being typed, which begins at inputStart.
class CEditWindow : public support::CWindowImpl {
public:
    // Creates the text box as a child of parent, sized later by its owner, in the stock GUI font.
    HWND Create(HWND parent) noexcept;

    // Appends text at the end; with protect TRUE it becomes output and the command line starts after it.
    void AppendText(const wchar_t* text, BOOL protect) noexcept;
    // Shows interpreter output in front of the command line, with its line ends as a console shows
    // them. The command line, the caret and any selection stay where the user left them.
    void InsertOutput(const wchar_t* text);
    // Drops the oldest output when an insert of `length` characters would pass the scrollback
    // limit, as InsertOutput would, as a step of its own; the caret and selection stay on the
    // same text. True when anything was dropped.
    bool TrimScrollbackFor(int length);
    // Whether the output ends with a line end (or there is none), so that a prompt of the console's
    // own starts on a line of its own.
    bool OutputEndsLine() const noexcept { return outputEndsLine; }
    // The command line becomes output followed by a line end; the new command line is empty.
    void CommitInput() noexcept;
    void ClearInput() noexcept;
    BOOL ClearAll() noexcept;
    void GetInputLine(std::wstring& line) const;
    // The caret's offset into the command line; negative when it lies in the output.
    int GetCaretInInput() const noexcept;
    LRESULT SetModify(BOOL modified) noexcept;
    BOOL GetModify() const noexcept;
    bool HasSelection() const noexcept;

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override;

    // Position in the text where the command line begins; everything before it is output.
    int inputStart = 0;

private:
    struct Selection {
        int start;
        int end;
    };

    Selection GetSelection() const noexcept;
    void SetSelection(int start, int end) noexcept;
    int GetTextLength() const noexcept;
    std::wstring GetText() const;
    void ReplaceSelection(const wchar_t* text) noexcept;

    BOOL OnChar(WPARAM character);
    BOOL OnKeyDown(WPARAM key);
    BOOL OnPaste();
    BOOL CopySelection();
    BOOL OnEditSetFocus();
    BOOL TrimToCommandLine(const Selection& selection);
    bool PassesScrollbackLimit(int appendedLength) const noexcept;
    int MakeRoomFor(int appendedLength);
    int FindScrollbackCut(int wanted) const;
    void EndOutputLinesIn(const wchar_t* text, int length, int at) noexcept;

    // Where the last line of output begins: a carriage return in the output returns there.
    int outputLineStart = 0;
    bool outputEndsLine = true;
    OutputLineEnds lineEnds;
    OutputLineEnds::Converted converted;
};

}  // namespace view
