#include "view/EditWindow.h"

#include "view/Clipboard.h"

#include <algorithm>
#include <cwchar>

namespace view {

namespace {

constexpr wchar_t CtrlC = 3;
constexpr wchar_t Backspace = 8;
constexpr wchar_t CtrlX = 24;

bool IsKeyDown(int key) noexcept
{
    return ::GetKeyState(key) < 0;
}

// The control's own limit would refuse output long before the scrollback is trimmed.
constexpr int TextLimit = 0x7FFFFFFE;
// How far past the wanted cut a line end is looked for before a longer line is cut inside.
constexpr int LineEndSearchSpan = 16384;

bool IsBlank(wchar_t character) noexcept
{
    return character == L' ' || character == L'\t';
}

// Words end at blanks. The control's own word breaking analyses the whole text again after every
// change whenever a line wraps, which makes each append cost more the more text the box holds.
int CALLBACK BreakAtBlanks(LPWSTR text, int current, int length, int code)
{
    switch (code) {
    case WB_ISDELIMITER:
        return current < length && IsBlank(text[current]) ? TRUE : FALSE;
    case WB_LEFT:
        if (current > 0)
            --current;
        while (current > 0 && IsBlank(text[current]))
            --current;
        while (current > 0 && !IsBlank(text[current - 1]))
            --current;
        return current;
    case WB_RIGHT:
        while (current < length && !IsBlank(text[current]))
            ++current;
        while (current < length && IsBlank(text[current]))
            ++current;
        return current;
    default:
        return 0;
    }
}

// Keeps a shown control from drawing while it is changed in several steps, and has it drawn once
// when the steps are done. Every change the control makes sets its scroll bar, which draws the
// bar at once while the control is shown (about 7 ms a time under Wine, whose WM_SETREDRAW does
// not stop it); with the visible style taken away for the steps, as WM_SETREDRAW does on
// Windows, nothing is drawn until the end.
class RedrawPause {
public:
    explicit RedrawPause(HWND window) noexcept
        : window(window), wasVisible((::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0)
    {
        if (wasVisible)
            SetVisibleStyle(false);
    }
    ~RedrawPause()
    {
        if (!wasVisible)
            return;
        SetVisibleStyle(true);
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
    }
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

private:
    void SetVisibleStyle(bool visible) noexcept
    {
        const LONG style = ::GetWindowLongW(window, GWL_STYLE);
        ::SetWindowLongW(window, GWL_STYLE, visible ? style | WS_VISIBLE : style & ~WS_VISIBLE);
    }

    HWND window;
    bool wasVisible;
};

// WM_DPICHANGED_AFTERPARENT, which the headers declare only for Windows 10 targets: a child
// window of a per-monitor aware window gets it once its parent moved to another DPI.
constexpr UINT DpiChangedAfterParent = 0x02E3;

// The text box's menu: the commands are the messages that carry them out.
struct MenuEntry {
    UINT command;  // 0: a separator
    const wchar_t* text;
};
constexpr UINT SelectAll = EM_SETSEL;
constexpr MenuEntry MenuEntries[] = {
    {WM_UNDO, L"&Undo"},   {0, nullptr},          {WM_CUT, L"Cu&t"},         {WM_COPY, L"&Copy"},
    {WM_PASTE, L"&Paste"}, {WM_CLEAR, L"&Delete"}, {0, nullptr},              {SelectAll, L"Select &All"},
    {0, nullptr},          {ShowSettingsCommand, L"&Settings..."},
};

class PopupMenu {
public:
    PopupMenu() noexcept : menu(::CreatePopupMenu()) {}
    ~PopupMenu() { ::DestroyMenu(menu); }
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;
    HMENU Get() const noexcept { return menu; }

private:
    HMENU menu;
};

int ClampedLength(const wchar_t* text) noexcept
{
    return static_cast<int>(std::min<size_t>(std::wcslen(text), TextLimit));
}

}  // namespace

HWND CEditWindow::Create(HWND parent) noexcept
{
    static const support::WindowClass editClass = RegisterSuperclass(L"EDIT", L"Brimblestone Editbox");
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE;
    const HWND created = CreateBoundWindow(editClass, parent, RECT{}, L"", style, WS_EX_CLIENTEDGE, 0);
    if (!created)
        return nullptr;
    ::SendMessageW(created, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    ::SendMessageW(created, EM_SETLIMITTEXT, TextLimit, 0);
    ::SendMessageW(created, EM_SETWORDBREAKPROC, 0, reinterpret_cast<LPARAM>(&BreakAtBlanks));
    return created;
}

void CEditWindow::SetFont(const std::wstring& face, int points)
{
    ShowFont(face, points, WindowDpi(GetHwnd()));
}

// The box has the new font before the old one is deleted.
void CEditWindow::ShowFont(const std::wstring& face, int points, UINT dpi)
{
    if (!GetHwnd() || font.Matches(face, points, dpi))
        return;
    DpiFont made(face, points, dpi);
    if (!made)
        return;
    ::SendMessageW(GetHwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(made.Get()), TRUE);
    font = std::move(made);
}

void CEditWindow::FollowDpi(UINT dpi)
{
    if (font && dpi != 0)
        ShowFont(font.Face(), font.Points(), dpi);
}

// Before the box exists, the font it is made in.
int CEditWindow::LineHeight() const noexcept
{
    const HDC dc = ::GetDC(GetHwnd());
    if (!dc)
        return 0;
    const HGDIOBJ shown = GetHwnd() ? reinterpret_cast<HGDIOBJ>(::SendMessageW(GetHwnd(), WM_GETFONT, 0, 0))
                                    : ::GetStockObject(DEFAULT_GUI_FONT);
    const HGDIOBJ previous = ::SelectObject(dc, shown);
    TEXTMETRICW metrics{};
    const BOOL measured = ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, previous);
    ::ReleaseDC(GetHwnd(), dc);
    return measured ? metrics.tmHeight + metrics.tmExternalLeading : 0;
}

void CEditWindow::SetColours(Palette palette)
{
    colours.Apply(palette, GetHwnd());
}

void CEditWindow::SetScrollbackLimit(int characters) noexcept
{
    scrollbackLimit = std::max(1, std::min(characters, TextLimit));
    scrollbackKept = scrollbackLimit - scrollbackLimit / 10;
}

void CEditWindow::AppendText(const wchar_t* text, BOOL protect) noexcept
{
    if (!text)
        return;
    const int appended = ClampedLength(text);
    MakeRoomFor(appended);
    const int newEnd = GetTextLength() + appended;
    ::SendMessageW(GetHwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    SetSelection(newEnd, newEnd);
    ReplaceSelection(text);
    SetModify(FALSE);
    if (!protect)
        return;
    // Counted after the fact: a text the control took only in part must not put the command line past the end.
    inputStart = GetTextLength();
    EndOutputLinesIn(text, appended, inputStart - appended);
    if (appended > 0)
        outputEndsLine = text[appended - 1] == L'\n';
    lineEnds.Reset();
    ::SendMessageW(GetHwnd(), EM_EMPTYUNDOBUFFER, 0, 0);
}

void CEditWindow::TypeText(const wchar_t* text) noexcept
{
    ReplaceSelection(text);
}

void CEditWindow::InsertOutput(const wchar_t* text)
{
    if (!text)
        return;
    lineEnds.Convert(text, std::wcslen(text), converted);
    if (converted.text.empty() && !converted.replacesLine)
        return;
    const RedrawPause pause(GetHwnd());
    const BOOL modified = GetModify();
    Selection selection = GetSelection();
    const int cut = MakeRoomFor(static_cast<int>(std::min<size_t>(converted.text.size(), TextLimit)));
    const int commandLineLength = GetTextLength() - inputStart;
    const int oldInputStart = inputStart;
    const int from = converted.replacesLine ? outputLineStart : inputStart;
    SetSelection(from, inputStart);
    ReplaceSelection(converted.text.c_str());
    inputStart = std::max(from, GetTextLength() - commandLineLength);
    EndOutputLinesIn(converted.text.c_str(), inputStart - from, from);
    if (inputStart > from)
        outputEndsLine = converted.text[static_cast<size_t>(inputStart - from) - 1] == L'\n';
    else if (converted.replacesLine)
        outputEndsLine = true;  // the last line was replaced by nothing: output ends where it began
    // The user's selection moves with the command line; a part of it in a replaced line shrinks away.
    const int moved = inputStart - oldInputStart;
    const auto follow = [&](int position) {
        position = std::max(0, position - cut);
        if (position >= oldInputStart)
            return position + moved;
        return std::min(position, from);
    };
    // The undo buffer holds positions that the inserted output has moved.
    ::SendMessageW(GetHwnd(), EM_EMPTYUNDOBUFFER, 0, 0);
    SetModify(modified);
    // Each placing of the caret walks the control's lines: a caret that the insert left where it
    // was, at the start of an empty command line, stays, and the insert has already shown it.
    const Selection kept = {follow(selection.start), follow(selection.end)};
    if (kept.start == inputStart && kept.end == inputStart && GetTextLength() == inputStart)
        return;
    SetSelection(kept.start, kept.end);
    ::SendMessageW(GetHwnd(), WM_VSCROLL, SB_BOTTOM, 0);
}

bool CEditWindow::TrimScrollbackFor(int length)
{
    // Nearly every append has room: the box is then not touched at all.
    if (!PassesScrollbackLimit(length))
        return false;
    const RedrawPause pause(GetHwnd());
    const BOOL modified = GetModify();
    const Selection selection = GetSelection();
    const int cut = MakeRoomFor(length);
    if (cut == 0)
        return false;
    // The undo buffer holds positions that the trim has moved.
    ::SendMessageW(GetHwnd(), EM_EMPTYUNDOBUFFER, 0, 0);
    SetModify(modified);
    SetSelection(std::max(0, selection.start - cut), std::max(0, selection.end - cut));
    ::SendMessageW(GetHwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    return true;
}

void CEditWindow::CommitInput() noexcept
{
    AppendText(L"\r\n", TRUE);
}

// Records where the last output line begins after `length` characters of text were put at `at`.
// A soft break inside a long line is no line end: a carriage return goes back to the line's start.
void CEditWindow::EndOutputLinesIn(const wchar_t* text, int length, int at) noexcept
{
    for (int index = length; index > 0; --index) {
        if (text[index - 1] == L'\n' && !OutputLineEnds::EndsInSoftBreak(text, static_cast<size_t>(index))) {
            outputLineStart = at + index;
            return;
        }
    }
}

void CEditWindow::ClearInput() noexcept
{
    // When nothing is typed the control is not touched at all.
    const int length = GetTextLength();
    if (length <= inputStart)
        return;
    SetSelection(inputStart, length);
    ReplaceSelection(L"");
}

BOOL CEditWindow::ClearAll() noexcept
{
    const BOOL cleared = ::SetWindowTextW(GetHwnd(), L"");
    inputStart = 0;
    outputLineStart = 0;
    outputEndsLine = true;
    lineEnds.Reset();
    return cleared;
}

void CEditWindow::GetInputLine(std::wstring& line) const
{
    const int length = GetTextLength();
    if (inputStart >= length) {
        line.clear();
        return;
    }
    const std::wstring text = GetText();
    line.assign(text, std::min(static_cast<size_t>(inputStart), text.size()));
}

// Copies the selection as the output came, without the soft breaks of its long lines.
BOOL CEditWindow::CopySelection()
{
    const Selection selection = GetSelection();
    if (selection.start == selection.end)
        return TRUE;
    const std::wstring copied = OutputLineEnds::WithoutSoftBreaks(GetText(), static_cast<size_t>(selection.start),
                                                                  static_cast<size_t>(selection.end));
    PutOnClipboard(GetHwnd(), copied);
    return TRUE;
}

int CEditWindow::GetCaretInInput() const noexcept
{
    return GetSelection().start - inputStart;
}

LRESULT CEditWindow::SetModify(BOOL modified) noexcept
{
    return ::SendMessageW(GetHwnd(), EM_SETMODIFY, modified, 0);
}

BOOL CEditWindow::GetModify() const noexcept
{
    return ::SendMessageW(GetHwnd(), EM_GETMODIFY, 0, 0) ? TRUE : FALSE;
}

bool CEditWindow::HasSelection() const noexcept
{
    const Selection selection = GetSelection();
    return selection.start != selection.end;
}

BOOL CEditWindow::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                       DWORD mapId)
{
    if (mapId != 0 || !GetHwnd())
        return FALSE;
    if (colours.Answer(window, GetHwnd(), message, wParam, lParam, result))
        return TRUE;
    // Left unhandled: the top-level window still takes the place the system suggests.
    if (message == WM_DPICHANGED)
        FollowDpi(LOWORD(wParam));
    else if (message == DpiChangedAfterParent && window == GetHwnd())
        FollowDpi(WindowDpi(GetHwnd()));
    BOOL handled = FALSE;
    if (message == WM_CHAR)
        handled = OnChar(wParam);
    else if (message == WM_KEYDOWN && window == GetHwnd())
        handled = OnKeyDown(wParam);
    else if (message == WM_PASTE)
        handled = OnPaste();
    else if (message == WM_COPY && window == GetHwnd())
        handled = CopySelection();
    else if ((message == WM_CUT || message == WM_CLEAR) && window == GetHwnd())
        handled = TrimToCommandLine(GetSelection());
    else if (message == WM_COMMAND && HIWORD(wParam) == EN_SETFOCUS)
        handled = OnEditSetFocus();
    else if (message == WM_CONTEXTMENU && window == GetHwnd())
        handled = ShowContextMenu(lParam);
    if (handled)
        result = 0;
    return handled;
}

BOOL CEditWindow::OnChar(WPARAM character)
{
    if (character == CtrlC)
        return CopySelection();
    const Selection selection = GetSelection();
    if (character == Backspace || character == CtrlX)
        return TrimToCommandLine(selection);
    if (selection.start >= inputStart)
        return FALSE;
    // Posted, so that the caret moves only after the control has finished the current message.
    const int length = GetTextLength();
    ::PostMessageW(GetHwnd(), EM_SETSEL, length, length);
    ::PostMessageW(GetHwnd(), WM_VSCROLL, SB_BOTTOM, 0);
    return TRUE;
}

// The control deletes and pastes for these keys without sending itself the messages that are
// guarded: the same guards apply here.
BOOL CEditWindow::OnKeyDown(WPARAM key)
{
    const bool shift = IsKeyDown(VK_SHIFT);
    if (key == VK_INSERT && shift && !IsKeyDown(VK_CONTROL))
        return OnPaste();
    if (key == VK_INSERT && !shift && IsKeyDown(VK_CONTROL))
        return CopySelection();
    if (key != VK_DELETE)
        return FALSE;
    const Selection selection = GetSelection();
    if (selection.start != selection.end)
        return TrimToCommandLine(selection);
    // With no selection Delete removes what follows the caret, Shift+Delete the character before it.
    const int firstDeleted = shift ? selection.start - 1 : selection.start;
    return firstDeleted < inputStart ? TRUE : FALSE;
}

// Several lines are the parent's to run one by one: a paste of them is never one command line.
BOOL CEditWindow::OnPaste()
{
    const Selection selection = GetSelection();
    // An empty command line, or the caret at its very start, takes a paste as it takes typing.
    const BOOL refused = selection.start == inputStart && selection.end == inputStart ? FALSE
                                                                                      : TrimToCommandLine(selection);
    if (refused)
        return TRUE;
    const std::optional<std::wstring> text = ClipboardText(GetHwnd());
    if (!text || text->find_first_of(L"\r\n") == std::wstring::npos)
        return FALSE;
    ::SendMessageW(::GetParent(GetHwnd()), PasteLinesMessage, 0, reinterpret_cast<LPARAM>(&*text));
    return TRUE;
}

BOOL CEditWindow::OnEditSetFocus()
{
    ::SendMessageW(::GetParent(GetHwnd()), EditFocusMessage, TRUE, 0);
    return TRUE;
}

// The usual menu of a text box, and the settings. Its edits go through the same guards as keys.
BOOL CEditWindow::ShowContextMenu(LPARAM where)
{
    const PopupMenu menu;
    if (!menu.Get())
        return FALSE;
    const bool selected = HasSelection();
    for (const MenuEntry& entry : MenuEntries) {
        bool enabled = true;
        if (entry.command == WM_UNDO)
            enabled = ::SendMessageW(GetHwnd(), EM_CANUNDO, 0, 0) != 0;
        else if (entry.command == WM_CUT || entry.command == WM_COPY || entry.command == WM_CLEAR)
            enabled = selected;
        else if (entry.command == WM_PASTE)
            enabled = ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
        else if (entry.command == SelectAll)
            enabled = GetTextLength() > 0;
        const UINT flags = entry.command == 0 ? MF_SEPARATOR : MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED);
        ::AppendMenuW(menu.Get(), flags, entry.command, entry.text);
    }
    const POINT point = ContextMenuPoint(where);
    const UINT command = static_cast<UINT>(::TrackPopupMenu(
        menu.Get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, point.x, point.y, 0, GetHwnd(), nullptr));
    RunMenuCommand(command);
    return TRUE;
}

// Opened with the keyboard (Shift+F10, the menu key), the menu shows at the caret.
POINT CEditWindow::ContextMenuPoint(LPARAM where) const noexcept
{
    POINT point{static_cast<short>(LOWORD(where)), static_cast<short>(HIWORD(where))};
    if (where != -1)
        return point;
    const LRESULT caret = ::SendMessageW(GetHwnd(), EM_POSFROMCHAR, static_cast<WPARAM>(GetSelection().end), 0);
    point = caret == -1 ? POINT{0, 0} : POINT{static_cast<short>(LOWORD(caret)), static_cast<short>(HIWORD(caret))};
    ::ClientToScreen(GetHwnd(), &point);
    return point;
}

void CEditWindow::RunMenuCommand(UINT command)
{
    if (command == ShowSettingsCommand)
        ::SendMessageW(::GetParent(GetHwnd()), WM_COMMAND, MAKEWPARAM(ShowSettingsCommand, 0), 0);
    else if (command == SelectAll)
        SetSelection(0, -1);
    else if (command != 0)
        ::SendMessageW(GetHwnd(), command, 0, 0);
}

// Lets a deleting or replacing edit through only for the command-line part of the selection.
BOOL CEditWindow::TrimToCommandLine(const Selection& selection)
{
    if (selection.start > inputStart)
        return FALSE;
    if (selection.end <= inputStart)
        return TRUE;
    SetSelection(inputStart, selection.end);
    return FALSE;
}

// Drops the oldest whole lines of output when the text would grow past the scrollback limit.
// Only output goes: the command line and anything typed in it stay as they are.
// Returns how many characters went from the start of the text.
bool CEditWindow::PassesScrollbackLimit(int appendedLength) const noexcept
{
    return GetTextLength() > scrollbackLimit - appendedLength;
}

int CEditWindow::MakeRoomFor(int appendedLength)
{
    if (!PassesScrollbackLimit(appendedLength))
        return 0;
    const int length = GetTextLength();
    const int wanted = std::min({length - (scrollbackKept - std::min(appendedLength, scrollbackKept)),
                                 inputStart, length});
    if (wanted <= 0)
        return 0;
    try {
        const int cut = FindScrollbackCut(wanted);
        SetSelection(0, cut);
        ReplaceSelection(L"");
        inputStart -= cut;
        outputLineStart = std::max(0, outputLineStart - cut);
        return cut;
    } catch (...) {
        // Without memory to look for a line end the output is kept; the append still goes ahead.
        return 0;
    }
}

// The first line start at or after wanted, or wanted itself inside a line too long to keep whole.
int CEditWindow::FindScrollbackCut(int wanted) const
{
    const int searched = std::min({inputStart, GetTextLength(), wanted + LineEndSearchSpan});
    std::wstring head(static_cast<size_t>(searched) + 1, L'\0');
    const int read = ::GetWindowTextW(GetHwnd(), &head[0], searched + 1);
    for (int index = wanted - 1; index < read; ++index) {
        if (head[index] == L'\n')
            return index + 1;
    }
    if (wanted < read && IS_HIGH_SURROGATE(head[wanted - 1]))
        return wanted + 1;
    return wanted;
}

CEditWindow::Selection CEditWindow::GetSelection() const noexcept
{
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(GetHwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return Selection{static_cast<int>(start), static_cast<int>(end)};
}

void CEditWindow::SetSelection(int start, int end) noexcept
{
    ::SendMessageW(GetHwnd(), EM_SETSEL, start, end);
}

int CEditWindow::GetTextLength() const noexcept
{
    return ::GetWindowTextLengthW(GetHwnd());
}

std::wstring CEditWindow::GetText() const
{
    const int length = GetTextLength();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(::GetWindowTextW(GetHwnd(), &text[0], length + 1)));
    return text;
}

void CEditWindow::ReplaceSelection(const wchar_t* text) noexcept
{
    ::SendMessageW(GetHwnd(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
}

}  // namespace view
