#pragma once

#include "support/WindowImpl.h"
#include "view/DpiFont.h"
#include "view/OutputLineEnds.h"
#include "view/TextColours.h"

#include <string>

namespace view {

// Sent to the text box's parent when the text box gets the keyboard focus; wParam TRUE.
constexpr UINT EditFocusMessage = WM_APP + 1;
// Sent to the text box's parent for a paste that holds line ends, instead of pasting it: lParam
// points to the text (a std::wstring), valid during the message. The text goes wherever the paste
// would have gone: the selection is already where the command line allows it.
constexpr UINT PasteLinesMessage = WM_APP + 2;
// The command of the text box's menu that reaches its parent as WM_COMMAND: show the settings.
constexpr WORD ShowSettingsCommand = 501;

// The console text box: the interpreter's output, protected from editing, followed by the
// command line being typed, which begins at inputStart.
class CEditWindow : public support::CWindowImpl {
public:
    static constexpr int DefaultScrollbackLimit = 1000000;

    // Creates the text box as a child of parent, sized later by its owner, in the stock GUI font.
    HWND Create(HWND parent) noexcept;

    // Shows the text in a font of `face` at `points`, made for the DPI of the monitor the box is
    // on and made again when that changes (the parent offers its messages to this map).
    void SetFont(const std::wstring& face, int points);
    // Colours the box, its scroll bar where the system allows and its parent's background.
    void SetColours(Palette palette);
    // The height of one row of text in the box's font (before the box exists, the font it is made
    // in), in pixels: for a host that sizes itself in rows.
    int LineHeight() const noexcept;
    // Output is dropped from the start once the text would grow past this many characters.
    void SetScrollbackLimit(int characters) noexcept;

    // Appends text at the end; with protect TRUE it becomes output and the command line starts after it.
    void AppendText(const wchar_t* text, BOOL protect) noexcept;
    // Puts text in place of the selection on the command line, as typing does.
    void TypeText(const wchar_t* text) noexcept;
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

    // The box's own messages, and its parent's: the focus report, the colour questions, the
    // parent's background and its move to a monitor of another DPI. The box's menu is the usual
    // one of a text box and "Settings...", which reaches the parent as WM_COMMAND ShowSettingsCommand.
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
    BOOL ShowContextMenu(LPARAM where);
    POINT ContextMenuPoint(LPARAM where) const noexcept;
    void RunMenuCommand(UINT command);
    BOOL TrimToCommandLine(const Selection& selection);
    bool PassesScrollbackLimit(int appendedLength) const noexcept;
    int MakeRoomFor(int appendedLength);
    int FindScrollbackCut(int wanted) const;
    void EndOutputLinesIn(const wchar_t* text, int length, int at) noexcept;
    void ShowFont(const std::wstring& face, int points, UINT dpi);
    void FollowDpi(UINT dpi);

    // Where the last line of output begins: a carriage return in the output returns there.
    int outputLineStart = 0;
    bool outputEndsLine = true;
    OutputLineEnds lineEnds;
    OutputLineEnds::Converted converted;
    // Once the text would pass scrollbackLimit characters, the oldest lines go until about
    // scrollbackKept remain, so that trimming, which moves the whole text, happens rarely.
    int scrollbackLimit = DefaultScrollbackLimit;
    int scrollbackKept = DefaultScrollbackLimit - DefaultScrollbackLimit / 10;
    DpiFont font;
    TextColours colours;
};

}  // namespace view
