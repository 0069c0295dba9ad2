#include "view/EditWindow.h"


#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

const support::WindowClass& HostClass()
{
    static const support::WindowClass registered = [] {
        WNDCLASSEXW description{};
        description.lpszClassName = L"Brimblestone Test Host";
        return support::CWindowImpl::RegisterPlainClass(description);
    }();
    return registered;
}

// A hidden top-level window holding the text box; like the band window, it offers every
// message to the text box's map first and records the focus reports that reach it.
class HostWindow : public support::CWindowImpl {
public:
    explicit HostWindow(view::CEditWindow& edit) : edit(edit)
    {
        CreateBoundWindow(HostClass(), nullptr, RECT{0, 0, 480, 300}, L"", WS_OVERLAPPEDWINDOW, 0, 0);
    }

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (edit.ProcessWindowMessage(window, message, wParam, lParam, result, 0))
            return TRUE;
        if (mapId == 0 && message == view::EditFocusMessage) {
            ++focusReports;
            lastFocusWParam = wParam;
            lastFocusLParam = lParam;
            result = 0;
            return TRUE;
        }
        if (mapId == 0 && message == WM_COMMAND && lParam == 0)
            menuCommands.push_back(wParam);
        return FALSE;
    }

    std::vector<WPARAM> menuCommands;
    int focusReports = 0;
    WPARAM lastFocusWParam = 0;
    LPARAM lastFocusLParam = -1;

private:
    view::CEditWindow& edit;
};

class EditWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, host.GetHwnd());
        ASSERT_NE(nullptr, edit.Create(host.GetHwnd()));
        ::MoveWindow(edit.GetHwnd(), 0, 0, 400, 120, FALSE);
    }

    std::wstring Text() const
    {
        const int length = ::GetWindowTextLengthW(edit.GetHwnd());
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(edit.GetHwnd(), &text[0], length + 1)));
        return text;
    }

    std::wstring InputLine() const
    {
        std::wstring line;
        edit.GetInputLine(line);
        return line;
    }

    void Type(const wchar_t* characters)
    {
        for (const wchar_t* c = characters; *c; ++c)
            ::SendMessageW(edit.GetHwnd(), WM_CHAR, *c, 1);
    }

    void Select(int start, int end) { ::SendMessageW(edit.GetHwnd(), EM_SETSEL, start, end); }

    std::pair<int, int> Selection() const
    {
        DWORD start = 0;
        DWORD end = 0;
        ::SendMessageW(edit.GetHwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }

    static void PumpPostedMessages()
    {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }

    void SetClipboard(const std::wstring& text)
    {
        ASSERT_TRUE(::OpenClipboard(host.GetHwnd()));
        ::EmptyClipboard();
        const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(::GlobalLock(memory), text.c_str(), bytes);
        ::GlobalUnlock(memory);
        if (!::SetClipboardData(CF_UNICODETEXT, memory))
            ::GlobalFree(memory);
        ::CloseClipboard();
    }

    std::wstring Clipboard()
    {
        std::wstring text;
        if (!::OpenClipboard(host.GetHwnd()))
            return L"<clipboard not open>";
        if (HANDLE memory = ::GetClipboardData(CF_UNICODETEXT)) {
            text = static_cast<const wchar_t*>(::GlobalLock(memory));
            ::GlobalUnlock(memory);
        }
        ::CloseClipboard();
        return text;
    }

    // Output "C:\>" followed by the typed command line "dir".
    void PromptAndTypedDir()
    {
        edit.AppendText(L"C:\\>", TRUE);
        Type(L"dir");
        ASSERT_EQ(L"C:\\>dir", Text());
    }

    view::CEditWindow edit;
    HostWindow host{edit};
};

TEST_F(EditWindowTest, IsTheSuperclassedConsoleBox)
{
    wchar_t className[64] = {};
    ::GetClassNameW(edit.GetHwnd(), className, 64);
    EXPECT_STREQ(L"Brimblestone Editbox", className);
    EXPECT_EQ(0x50201044, ::GetWindowLongW(edit.GetHwnd(), GWL_STYLE));
    EXPECT_EQ(WS_EX_CLIENTEDGE, ::GetWindowLongW(edit.GetHwnd(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(0, ::GetDlgCtrlID(edit.GetHwnd()));
    EXPECT_EQ(host.GetHwnd(), ::GetParent(edit.GetHwnd()));
    EXPECT_EQ(::GetStockObject(DEFAULT_GUI_FONT),
              reinterpret_cast<HGDIOBJ>(::SendMessageW(edit.GetHwnd(), WM_GETFONT, 0, 0)));
    EXPECT_EQ(0, edit.inputStart);
}

TEST_F(EditWindowTest, BackspaceStopsAtTheCommandLine)
{
    PromptAndTypedDir();
    Type(L"\b");
    EXPECT_EQ(L"C:\\>di", Text());
    Type(L"\b\b");
    EXPECT_EQ(L"C:\\>", Text());
    Type(L"\b");
    EXPECT_EQ(L"C:\\>", Text()) << "the caret at the command line's start deletes nothing";
    Select(0, 2);
    Type(L"\b");
    EXPECT_EQ(L"C:\\>", Text()) << "a selection in the output deletes nothing";
}

TEST_F(EditWindowTest, SelectionOverOutputAndCommandLineIsTrimmedToTheCommandLine)
{
    PromptAndTypedDir();
    Select(1, 6);
    Type(L"\b");
    EXPECT_EQ(L"C:\\>r", Text());

    Select(5, 5);
    Type(L"ead");
    Select(2, 8);
    SetClipboard(L"before");
    Type(L"\x18");
    EXPECT_EQ(L"C:\\>", Text());
    EXPECT_EQ(L"read", Clipboard()) << "only the command-line part is cut";

    Type(L"cd x");
    SetClipboard(L"type y");
    Select(0, 8);
    ::SendMessageW(edit.GetHwnd(), WM_PASTE, 0, 0);
    EXPECT_EQ(L"C:\\>type y", Text());
}

TEST_F(EditWindowTest, TypingInTheOutputMovesTheCaretToTheEnd)
{
    std::wstring lines;
    for (int line = 0; line < 60; ++line)
        lines += L"output line\r\n";
    edit.AppendText(lines.c_str(), TRUE);
    edit.AppendText(L"C:\\>", TRUE);
    ::SendMessageW(edit.GetHwnd(), WM_VSCROLL, SB_TOP, 0);
    Select(3, 3);
    Type(L"x");
    EXPECT_EQ(lines + L"C:\\>", Text());
    PumpPostedMessages();
    const int length = static_cast<int>(Text().size());
    EXPECT_EQ(std::make_pair(length, length), Selection());
    EXPECT_GT(::SendMessageW(edit.GetHwnd(), EM_GETFIRSTVISIBLELINE, 0, 0), 0) << "the view follows to the bottom";
    Type(L"y");
    EXPECT_EQ(L"y", InputLine());
}

TEST_F(EditWindowTest, CtrlCCopiesAnywhere)
{
    PromptAndTypedDir();
    Select(0, 3);
    Type(L"\x03");
    EXPECT_EQ(L"C:\\", Clipboard());
    EXPECT_EQ(L"C:\\>dir", Text());
}

TEST_F(EditWindowTest, PasteGoesOnlyIntoTheCommandLine)
{
    edit.AppendText(L"C:\\>", TRUE);
    SetClipboard(L"echo");
    ::SendMessageW(edit.GetHwnd(), WM_PASTE, 0, 0);
    EXPECT_EQ(L"C:\\>echo", Text()) << "an empty command line takes a paste";

    Select(5, 5);
    SetClipboard(L"XY");
    ::SendMessageW(edit.GetHwnd(), WM_PASTE, 0, 0);
    EXPECT_EQ(L"eXYcho", InputLine());

    Select(0, 2);
    ::SendMessageW(edit.GetHwnd(), WM_PASTE, 0, 0);
    EXPECT_EQ(L"C:\\>eXYcho", Text()) << "a selection wholly in the output takes nothing";

    Select(4, 4);
    SetClipboard(L"@");
    Type(L"\x16");
    EXPECT_EQ(L"@eXYcho", InputLine()) << "Ctrl+V at the command line's start pastes too";
}

void KeyDown(HWND window, UINT key)
{
    ::SendMessageW(window, WM_KEYDOWN, key, 0x00000001);
}

// A keyboard state with the modifier held, for as long as the object lives.
class HeldKey {
public:
    explicit HeldKey(BYTE key) : key(key) { Set(0x80); }
    ~HeldKey() { Set(0); }
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;

private:
    void Set(BYTE state)
    {
        BYTE keys[256] = {};
        ::GetKeyboardState(keys);
        keys[key] = state;
        ::SetKeyboardState(keys);
    }
    BYTE key;
};

TEST_F(EditWindowTest, DeleteCutClearAndUndoNeverChangeTheOutput)
{
    PromptAndTypedDir();
    Select(0, 0);
    KeyDown(edit.GetHwnd(), VK_DELETE);
    EXPECT_EQ(L"C:\\>dir", Text()) << "Delete in the output";
    Select(4, 4);
    {
        const HeldKey shift(VK_SHIFT);
        KeyDown(edit.GetHwnd(), VK_DELETE);
    }
    EXPECT_EQ(L"C:\\>dir", Text()) << "Shift+Delete at the command line's start";
    Select(4, 4);
    KeyDown(edit.GetHwnd(), VK_DELETE);
    EXPECT_EQ(L"C:\\>ir", Text()) << "Delete in the command line";
    Select(1, 5);
    KeyDown(edit.GetHwnd(), VK_DELETE);
    EXPECT_EQ(L"C:\\>r", Text()) << "a selection over both loses only its command-line part";
    EXPECT_EQ(4, edit.inputStart);

    Select(5, 5);
    Type(L"ead");
    SetClipboard(L"before");
    Select(0, 6);
    ::SendMessageW(edit.GetHwnd(), WM_CUT, 0, 0);
    EXPECT_EQ(L"C:\\>ad", Text());
    EXPECT_EQ(L"re", Clipboard());
    Select(2, 5);
    ::SendMessageW(edit.GetHwnd(), WM_CLEAR, 0, 0);
    EXPECT_EQ(L"C:\\>d", Text());
    Select(0, 3);
    ::SendMessageW(edit.GetHwnd(), WM_CLEAR, 0, 0);
    ::SendMessageW(edit.GetHwnd(), WM_CUT, 0, 0);
    EXPECT_EQ(L"C:\\>d", Text()) << "a selection wholly in the output";

    SetClipboard(L"XY");
    Select(1, 1);
    {
        const HeldKey shift(VK_SHIFT);
        KeyDown(edit.GetHwnd(), VK_INSERT);
    }
    EXPECT_EQ(L"C:\\>d", Text()) << "Shift+Insert pastes nothing into the output";

    Select(5, 5);
    Type(L"ir");
    edit.InsertOutput(L"more output\r\n");
    ::SendMessageW(edit.GetHwnd(), WM_UNDO, 0, 0);
    ::SendMessageW(edit.GetHwnd(), EM_UNDO, 0, 0);
    EXPECT_TRUE(Text().rfind(L"C:\\>more output\r\n", 0) == 0) << Text();
    EXPECT_EQ(static_cast<int>(std::wstring(L"C:\\>more output\r\n").size()), edit.inputStart);
}

// Output that arrives while the user types goes in front of the command line, which keeps its
// text, caret and selection; Enter then makes the line part of the transcript.
TEST_F(EditWindowTest, OutputArrivesInFrontOfTheTypedLine)
{
    edit.InsertOutput(L"tick 1\r\n");
    Type(L"echo typed-ahead");
    Select(11, 13);
    edit.InsertOutput(L"tick 2\r\n");
    edit.InsertOutput(L"\r\nC:\\>");
    EXPECT_EQ(L"tick 1\r\ntick 2\r\n\r\nC:\\>echo typed-ahead", Text());
    EXPECT_EQ(L"echo typed-ahead", InputLine());
    EXPECT_EQ(std::make_pair(edit.inputStart + 3, edit.inputStart + 5), Selection());

    Select(2, 4);
    edit.SetModify(TRUE);
    edit.InsertOutput(L"late");
    EXPECT_EQ(std::make_pair(2, 4), Selection()) << "a selection in the output stays";
    EXPECT_TRUE(edit.GetModify()) << "output is no change of the user's";

    edit.CommitInput();
    EXPECT_EQ(L"tick 1\r\ntick 2\r\n\r\nC:\\>lateecho typed-ahead\r\n", Text());
    EXPECT_EQ(L"", InputLine());
    edit.InsertOutput(L"typed-ahead\r\n");
    EXPECT_TRUE(Text().size() == static_cast<size_t>(edit.inputStart));

    // Output goes in while the box is kept from drawing; it ends as shown or hidden as it was.
    EXPECT_EQ(0x50201044, ::GetWindowLongW(edit.GetHwnd(), GWL_STYLE));
    ::ShowWindow(edit.GetHwnd(), SW_HIDE);
    edit.InsertOutput(std::wstring(2000, L'x').c_str());
    EXPECT_EQ(0, ::GetWindowLongW(edit.GetHwnd(), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(EditWindowTest, LineEndsShowAsInAConsole)
{
    edit.InsertOutput(L"one\ntwo\r");
    Type(L"dir");
    edit.InsertOutput(L"\nthree\r\n");
    EXPECT_EQ(L"one\r\ntwo\r\nthree\r\ndir", Text()) << "bare LF, and CR LF split between outputs";

    edit.InsertOutput(L"progress 10%\r");
    edit.InsertOutput(L"progress 20%\rprogress 30%");
    EXPECT_EQ(L"one\r\ntwo\r\nthree\r\nprogress 30%dir", Text());
    edit.InsertOutput(L"\rdone\r\r\nkept\rnext\r\n");
    EXPECT_EQ(L"one\r\ntwo\r\nthree\r\ndone\r\nnext\r\ndir", Text());
    EXPECT_EQ(L"dir", InputLine());
    EXPECT_EQ(std::make_pair(edit.inputStart + 3, edit.inputStart + 3), Selection());
}

// An endless line is shown in rows, yet copying and a carriage return see the line as it came.
TEST_F(EditWindowTest, AnEndlessLineIsShownInRowsButCopiedAndReturnedToWhole)
{
    std::wstring line;
    for (int digit = 0; line.size() < 5000; ++digit)
        line += static_cast<wchar_t>(L'0' + digit % 10);
    for (size_t at = 0; at < line.size(); at += 700)
        edit.InsertOutput(line.substr(at, 700).c_str());
    Type(L"dir");
    const std::wstring softBreak = L"\r\r\n";
    std::wstring rows = line.substr(0, 1024);
    for (size_t at = 1024; at < line.size(); at += 512)
        rows += softBreak + line.substr(at, 512);
    EXPECT_EQ(rows + L"dir", Text());

    Select(0, -1);
    Type(L"\x03");
    EXPECT_EQ(line + L"dir", Clipboard()) << "Ctrl+C";
    Select(1025, 1540);
    ::SendMessageW(edit.GetHwnd(), WM_COPY, 0, 0);
    EXPECT_EQ(line.substr(1024, 512), Clipboard()) << "a copy that starts and ends inside soft breaks";
    Select(950, 1150);
    {
        const HeldKey control(VK_CONTROL);
        KeyDown(edit.GetHwnd(), VK_INSERT);
    }
    EXPECT_EQ(line.substr(950, 197), Clipboard()) << "Ctrl+Insert";

    edit.InsertOutput(L"\rshort\r\n");
    EXPECT_EQ(L"short\r\ndir", Text()) << "the return goes back to the start of the whole line";

    // A row never ends between the halves of a surrogate pair.
    const std::wstring paired = std::wstring(1023, L'a') + L"\xD83D\xDE00" + L"b";
    edit.InsertOutput(paired.c_str());
    EXPECT_EQ(L"short\r\n" + paired.substr(0, 1025) + softBreak + L"b" + L"dir", Text());
}

TEST_F(EditWindowTest, ProtectedOutputThenTypingAndUnprotectedAppends)
{
    edit.AppendText(L"Volume in drive C\r\nC:\\>", TRUE);
    EXPECT_EQ(L"", InputLine());
    EXPECT_EQ(0, edit.GetCaretInInput());
    Type(L"dir");
    EXPECT_EQ(L"dir", InputLine());
    EXPECT_EQ(3, edit.GetCaretInInput());
    EXPECT_TRUE(edit.GetModify()) << "typing marks the text as changed by the user";

    edit.AppendText(L" /w", FALSE);
    EXPECT_EQ(L"dir /w", InputLine());
    EXPECT_FALSE(edit.GetModify()) << "every append clears the user's change mark";
    edit.SetModify(TRUE);
    EXPECT_TRUE(edit.GetModify());
    Select(2, 2);
    EXPECT_LT(edit.GetCaretInInput(), 0);
    edit.AppendText(nullptr, TRUE);
    EXPECT_EQ(L"dir /w", InputLine()) << "no text appends nothing";
}

TEST_F(EditWindowTest, ClearInputAndClearAll)
{
    edit.AppendText(L"C:\\>", TRUE);
    edit.ClearInput();
    EXPECT_EQ(L"C:\\>", Text()) << "nothing typed, nothing changes";
    Type(L"del x");
    edit.ClearInput();
    EXPECT_EQ(L"C:\\>", Text());

    EXPECT_TRUE(edit.ClearAll());
    EXPECT_EQ(0, edit.inputStart);
    EXPECT_EQ(L"", Text());
    Type(L"abc\b");
    EXPECT_EQ(L"ab", Text());
    Select(0, 0);
    Type(L"z");
    EXPECT_EQ(L"zab", InputLine()) << "after clearing everything is command line";
}

TEST_F(EditWindowTest, GainingTheFocusIsReportedToTheParent)
{
    ::SetFocus(edit.GetHwnd());
    ASSERT_EQ(edit.GetHwnd(), ::GetFocus());
    EXPECT_EQ(1, host.focusReports);
    EXPECT_EQ(1u, host.lastFocusWParam);
    EXPECT_EQ(0, host.lastFocusLParam);

    const int reports = host.focusReports;
    ::SendMessageW(host.GetHwnd(), WM_COMMAND, MAKEWPARAM(0, EN_KILLFOCUS), reinterpret_cast<LPARAM>(edit.GetHwnd()));
    EXPECT_EQ(reports, host.focusReports) << "losing the focus is not reported";
}

TEST_F(EditWindowTest, EndlessOutputKeepsTheConsoleTypableAndBounded)
{
    std::wstring chunk;
    for (int line = 0; line < 1000; ++line)
        chunk += L"line " + std::to_wstring(line) + L" of a long listing, and some more text\r\n";
    for (int append = 0; append < 120; ++append)
        edit.AppendText(chunk.c_str(), TRUE);
    edit.AppendText(L"C:\\>", TRUE);

    const std::wstring text = Text();
    EXPECT_LT(text.size(), 1100000u);
    EXPECT_GT(text.size(), 800000u);
    EXPECT_EQ(0u, text.find(L"line ")) << "only whole lines are dropped";
    EXPECT_EQ(static_cast<int>(text.size()), edit.inputStart);

    Type(L"cls");
    EXPECT_EQ(L"cls", InputLine());
    EXPECT_EQ(text + L"cls", Text());
}

TEST_F(EditWindowTest, TrimmingKeepsTheTypedCommandLineExactly)
{
    std::wstring chunk;
    for (int line = 0; line < 2000; ++line)
        chunk += L"0123456789 0123456789 0123456789 0123456789\r\n";
    for (int append = 0; append < 10; ++append)
        edit.AppendText(chunk.c_str(), TRUE);
    Type(L"copy ");
    std::wstring completion;
    while (completion.size() < 300000)
        completion += L"name" + std::to_wstring(completion.size()) + L"\r\n";
    edit.AppendText(completion.c_str(), FALSE);

    EXPECT_EQ(L"copy " + completion, InputLine());
    const std::wstring text = Text();
    EXPECT_LT(text.size(), 1300000u);
    EXPECT_EQ(text.size() - completion.size() - 5, static_cast<size_t>(edit.inputStart));

    // Trimmed as a step of its own, ahead of an insert: the selection stays on the same text.
    edit.ClearInput();
    Type(L"dir");
    EXPECT_FALSE(edit.TrimScrollbackFor(1000)) << "room enough";
    Select(edit.inputStart + 1, edit.inputStart + 2);
    const int before = edit.inputStart;
    EXPECT_TRUE(edit.TrimScrollbackFor(1000000 - before + 1000));
    EXPECT_LT(edit.inputStart, before);
    EXPECT_EQ(L"dir", InputLine());
    EXPECT_EQ(std::make_pair(edit.inputStart + 1, edit.inputStart + 2), Selection());
    EXPECT_FALSE(edit.TrimScrollbackFor(1000000 - before + 1000)) << "one trim makes room for the insert";
}

// Output of every shape, as a flood brings it: ordinary lines, lines ended by LF alone, progress
// lines returned to by CR, long lines in rows and one overwritten by a CR, characters beyond the basic
// plane, a CR LF split between reads, and the console's own prompts in between.
std::vector<std::wstring> FloodPieces()
{
    std::vector<std::wstring> pieces;
    std::wstring stream;
    for (int part = 0; part < 40; ++part) {
        for (int line = 0; line < 30; ++line)
            stream += L"part " + std::to_wstring(part) + L" line " + std::to_wstring(line) + L" \xD83D\xDE00 text\r\n";
        stream += L"bare line feed\n";
        for (int step = 0; step < 20; ++step)
            stream += L"copied " + std::to_wstring(step) + L" of 20\r";
        stream += L"copied all\r\n";
        if (part % 7 == 3)
            stream += std::wstring(9000 + part, L'w') + L"\r\n";
        if (part % 3 == 1)
            stream += std::wstring(6000 + part, L'v') + L"\rover the long line\r\n";
    }
    // Cut as reads cut it: anywhere but inside a character.
    std::size_t at = 0;
    for (std::size_t length = 1; at < stream.size(); length = length * 7 % 3001 + 1) {
        std::size_t end = std::min(stream.size(), at + length);
        if (end < stream.size() && IS_LOW_SURROGATE(stream[end]))
            ++end;
        pieces.push_back(stream.substr(at, end - at));
        at = end;
    }
    return pieces;
}

// During a flood the box lays out only the newest output, holding back what came before it; laid out
// later, at its place, it ends exactly as output shown in order, the typed command line and the
// console's own lines included. Each show has the newest output at the bottom.
TEST_F(EditWindowTest, FloodShownNewestFirstEndsAsIfShownInOrder)
{
    view::CEditWindow inOrder;
    ASSERT_NE(nullptr, inOrder.Create(host.GetHwnd()));
    ::MoveWindow(inOrder.GetHwnd(), 0, 0, 400, 120, FALSE);
    edit.AppendText(L"C:\\>", TRUE);
    inOrder.AppendText(L"C:\\>", TRUE);
    Type(L"dir");
    inOrder.AppendText(L"dir", FALSE);

    const std::vector<std::wstring> pieces = FloodPieces();
    std::wstring batch;
    int shows = 0;
    for (std::size_t piece = 0; piece < pieces.size(); ++piece) {
        batch += pieces[piece];
        inOrder.InsertOutput(pieces[piece].c_str());
        if (piece % 5 == 2)
            continue;
        edit.ShowOutput(batch, 300);
        const std::wstring newest = batch.substr(batch.size() - std::min<std::size_t>(batch.size(), 40));
        if (newest.find_first_of(L"\r\n") == std::wstring::npos) {
            EXPECT_NE(std::wstring::npos, Text().find(newest)) << "show " << shows;
        }
        batch.clear();
        if (++shows % 3 == 0)
            edit.FillHeldBack(500);
        // A line of the console's own goes above the command line, as the console writes it.
        if (shows % 17 == 0) {
            for (view::CEditWindow* box : {&edit, &inOrder}) {
                box->ClearInput();
                box->AppendText(L"\r\nC:\\>", TRUE);
                box->AppendText(L"dir", FALSE);
            }
        }
    }
    edit.ShowOutput(batch, 300);
    // A long line cut short in a show, then returned to by a carriage return in a small one. Of a
    // long line only the rows the box shows are laid out, however large the budget.
    std::wstring lines;
    for (int line = 0; line < 40; ++line)
        lines += L"closing line " + std::to_wstring(line) + L"\r\n";
    const std::wstring longLine = lines + std::wstring(30000, L'w');
    EXPECT_GT(12000u, edit.ShowOutput(longLine, 20000));
    inOrder.InsertOutput(longLine.c_str());
    edit.ShowOutput(L"\rover\r\n", 300);
    inOrder.InsertOutput(L"\rover\r\n");
    EXPECT_TRUE(edit.HoldsBack());
    EXPECT_EQ(L"dir", InputLine()) << "the command line stays while output is held back";
    edit.FillHeldBack(500);
    // Laid out above, the held-back text leaves the caret in the empty command line, in view.
    edit.ClearInput();
    inOrder.ClearInput();
    while (edit.HoldsBack())
        edit.FillHeldBack(500);
    EXPECT_EQ(std::make_pair(edit.inputStart, edit.inputStart), Selection());
    RECT client = {};
    ::GetClientRect(edit.GetHwnd(), &client);
    const LRESULT last = ::SendMessageW(edit.GetHwnd(), EM_POSFROMCHAR, static_cast<WPARAM>(edit.inputStart - 1), 0);
    EXPECT_TRUE(last != -1 && static_cast<short>(HIWORD(last)) >= 0 && static_cast<short>(HIWORD(last)) < client.bottom)
        << "the end of the output is in view";
    for (view::CEditWindow* box : {&edit, &inOrder})
        box->AppendText(L"dir", FALSE);
    EXPECT_FALSE(edit.HoldsBack());
    const int length = ::GetWindowTextLengthW(inOrder.GetHwnd());
    std::wstring expected(static_cast<size_t>(length) + 1, L'\0');
    expected.resize(static_cast<size_t>(::GetWindowTextW(inOrder.GetHwnd(), &expected[0], length + 1)));
    const std::wstring shown = Text();
    size_t differs = 0;
    while (differs < std::min(shown.size(), expected.size()) && shown[differs] == expected[differs])
        ++differs;
    EXPECT_EQ(expected.size(), shown.size());
    EXPECT_EQ(expected.size(), differs) << "first difference at " << differs << ": "
                                        << ::testing::PrintToString(shown.substr(differs, 60)) << " instead of "
                                        << ::testing::PrintToString(expected.substr(differs, 60));
    EXPECT_EQ(L"dir", InputLine());
    EXPECT_EQ(inOrder.inputStart, edit.inputStart);

    // A carriage return after the flood still returns to the start of its last line.
    edit.InsertOutput(L"\rreplaced");
    inOrder.InsertOutput(L"\rreplaced");
    EXPECT_EQ(::GetWindowTextLengthW(inOrder.GetHwnd()), static_cast<int>(Text().size()));
    EXPECT_TRUE(Text().size() > 11 && Text().compare(Text().size() - 11, 11, L"replaceddir") == 0);
}

// Held back, only what the scrollback keeps stays: the rest is left out, and one line says how much
// where it was (with a decimal point whatever the locale), counting output the box never got.
TEST_F(EditWindowTest, OutputBeyondTheScrollbackIsLeftOutAndSaidOnceWhereItWas)
{
    edit.SetScrollbackLimit(20000);
    edit.AppendText(L"C:\\>type big.txt\r\n", TRUE);
    std::wstring flood;
    for (int line = 0; line < 4000; ++line)
        flood += L"line " + std::to_wstring(line) + L" of the flood\r\n";
    edit.SayDropped(5000);
    edit.ShowOutput(flood.substr(0, 40000), 1000);
    edit.ShowOutput(flood.substr(40000), 1000);
    Type(L"dir");
    while (edit.HoldsBack())
        edit.FillHeldBack(2000);
    const std::wstring text = Text();
    const std::wstring said = L" characters of output not shown ...\r\n";
    const std::size_t sayingEnd = text.find(said);
    ASSERT_NE(std::wstring::npos, sayingEnd) << text.substr(0, 200);
    EXPECT_EQ(std::wstring::npos, text.find(said, sayingEnd + 1)) << "said once";
    const std::wstring kept = text.substr(sayingEnd + said.size(), text.size() - 3 - sayingEnd - said.size());
    ASSERT_EQ(flood.substr(flood.size() - kept.size()), kept) << "the newest output follows, whole";
    EXPECT_GE(kept.size(), 16000u);
    const std::size_t dropped = flood.size() - kept.size();
    EXPECT_EQ(view::HeldBackOutput::DroppedLine(5000 + dropped) + L"\r\n", text.substr(0, sayingEnd + said.size()))
        << "what never reached the box and what it left out, in one line; what came before, which the "
           "scrollback would drop, goes with it";
    EXPECT_EQ(L"dir", InputLine());

    EXPECT_EQ(L"... 14.8 million characters of output not shown ...", view::HeldBackOutput::DroppedLine(14842113));
    EXPECT_EQ(L"... 523.4 thousand characters of output not shown ...", view::HeldBackOutput::DroppedLine(523412));
    EXPECT_EQ(L"... 999 characters of output not shown ...", view::HeldBackOutput::DroppedLine(999));

    edit.InsertOutput(L"partial");
    edit.SayDropped(1500);
    edit.InsertOutput(L"after\r\n");
    EXPECT_TRUE(edit.HoldsBack());
    EXPECT_LT(0u, edit.FillHeldBack(2000));
    EXPECT_FALSE(edit.HoldsBack());
    EXPECT_TRUE(Text().size() > 80 &&
                Text().substr(Text().size() - 3 - 61) ==
                    L"partial\r\n... 1500 characters of output not shown ...\r\nafter\r\ndir")
        << ::testing::PrintToString(Text().substr(Text().size() - 80));
}

TEST_F(EditWindowTest, ALineLongerThanTheSearchForItsEndIsCutInside)
{
    std::wstring longLine;
    while (longLine.size() < 130000)
        longLine += L"word ";
    edit.AppendText(longLine.c_str(), TRUE);
    std::wstring lines;
    for (int line = 0; line < 100; ++line)
        lines += L"0123456789 0123456789 0123456789 0123456789 0123456789 012345678\r\n";
    for (int append = 0; append < 133; ++append)
        edit.AppendText(lines.c_str(), TRUE);

    const std::wstring text = Text();
    EXPECT_LT(text.size(), 1000000u);
    const std::wstring keptOfLongLine = text.substr(0, text.find(L"0123456789"));
    EXPECT_GT(keptOfLongLine.size(), 10000u) << "the long line was cut inside, not dropped whole";
    EXPECT_EQ(std::wstring::npos, keptOfLongLine.find_first_not_of(L"word "));
    EXPECT_EQ(static_cast<int>(text.size()), edit.inputStart);
    Type(L"x");
    EXPECT_EQ(L"x", InputLine());
}

}  // namespace

namespace {

LOGFONTW ShownFont(HWND edit)
{
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(edit, WM_GETFONT, 0, 0)), sizeof(font), &font);
    return font;
}

// A window moved to a monitor of another DPI: the top-level window hears it first, then each
// child; the text is made again for the new DPI, and the font it replaces is deleted.
TEST_F(EditWindowTest, TheFontIsMadeForTheDpiOfItsMonitor)
{
    const UINT dpi = view::WindowDpi(edit.GetHwnd());
    edit.SetFont(L"Courier New", 10);
    const HFONT first = reinterpret_cast<HFONT>(::SendMessageW(edit.GetHwnd(), WM_GETFONT, 0, 0));
    EXPECT_STREQ(L"Courier New", ShownFont(edit.GetHwnd()).lfFaceName);
    EXPECT_EQ(-::MulDiv(10, static_cast<int>(dpi), 72), ShownFont(edit.GetHwnd()).lfHeight);
    edit.SetFont(L"Courier New", 10);
    EXPECT_EQ(first, reinterpret_cast<HFONT>(::SendMessageW(edit.GetHwnd(), WM_GETFONT, 0, 0))) << "nothing changed";

    const int rowHeight = edit.LineHeight();
    EXPECT_GE(rowHeight, -ShownFont(edit.GetHwnd()).lfHeight);

    RECT suggested{0, 0, 720, 450};
    ::SendMessageW(host.GetHwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(-20, ShownFont(edit.GetHwnd()).lfHeight);
    EXPECT_GT(edit.LineHeight(), rowHeight) << "rows grow with the font";
    EXPECT_EQ(0u, ::GetObjectType(first)) << "the old font is deleted once replaced";

    constexpr UINT DpiChangedAfterParent = 0x02E3;
    ::SendMessageW(edit.GetHwnd(), DpiChangedAfterParent, 0, 0);
    EXPECT_EQ(-::MulDiv(10, static_cast<int>(dpi), 72), ShownFont(edit.GetHwnd()).lfHeight)
        << "a child asks its window's DPI";

    edit.SetFont(L"Courier New", 20);
    EXPECT_EQ(-::MulDiv(20, static_cast<int>(dpi), 72), ShownFont(edit.GetHwnd()).lfHeight);
}

// Opens the text box's menu from the keyboard and picks the entry whose mnemonic is `key`: a menu
// reads the keys waiting in its thread's queue.
void PickFromMenu(HWND edit, wchar_t key)
{
    ::PostMessageW(edit, WM_CHAR, key, 0);
    ::SendMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), -1);
}

TEST_F(EditWindowTest, TheMenuOffersTheSettingsAndItsEditsKeepTheOutput)
{
    PromptAndTypedDir();
    PickFromMenu(edit.GetHwnd(), L's');
    EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(view::ShowSettingsCommand, 0)}, host.menuCommands) << "Settings...";

    SetClipboard(L"before");
    Select(1, 6);
    PickFromMenu(edit.GetHwnd(), L't');
    EXPECT_EQ(L"C:\\>r", Text()) << "Cut takes only the command-line part";
    EXPECT_EQ(L"di", Clipboard());
    PickFromMenu(edit.GetHwnd(), L'a');
    EXPECT_EQ(std::make_pair(0, 5), Selection()) << "Select All";
    PickFromMenu(edit.GetHwnd(), L'c');
    EXPECT_EQ(L"C:\\>r", Clipboard()) << "Copy";
    PickFromMenu(edit.GetHwnd(), L'p');
    EXPECT_EQ(L"C:\\>C:\\>r", Text()) << "Paste replaces only the command line";
    EXPECT_EQ(1u, host.menuCommands.size());
}

COLORREF BrushColour(LRESULT brush)
{
    LOGBRUSH described{};
    ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(described), &described);
    return described.lbColor;
}

TEST_F(EditWindowTest, ColoursAreTheParentsAnswerForTheTextBoxAndItsBackground)
{
    const HDC screen = ::GetDC(nullptr);
    const HDC dc = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 500, 320);
    ::ReleaseDC(nullptr, screen);
    const HGDIOBJ previous = ::SelectObject(dc, bitmap);
    const auto ask = [&](HWND control) {
        return ::SendMessageW(host.GetHwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                              reinterpret_cast<LPARAM>(control));
    };
    const LRESULT systemAnswer = ask(edit.GetHwnd());

    edit.SetColours(view::Palette::Dark);
    EXPECT_EQ(view::TextColours::DarkBackground, BrushColour(ask(edit.GetHwnd())));
    EXPECT_EQ(view::TextColours::DarkText, ::GetTextColor(dc));
    EXPECT_EQ(view::TextColours::DarkBackground, ::GetBkColor(dc));
    EXPECT_EQ(view::TextColours::DarkBackground,
              BrushColour(::SendMessageW(host.GetHwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(edit.GetHwnd()))))
        << "asked so while read-only";
    EXPECT_EQ(systemAnswer, ask(host.GetHwnd())) << "another control is not coloured";
    ::SendMessageW(host.GetHwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    RECT client{};
    ::GetClientRect(host.GetHwnd(), &client);
    EXPECT_EQ(view::TextColours::DarkBackground, ::GetPixel(dc, client.right - 1, client.bottom - 1))
        << "the parent's background";

    ::SendMessageW(edit.GetHwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(view::TextColours::DarkBackground, ::GetPixel(dc, 300, 60)) << "the text box draws with it";

    edit.SetColours(view::Palette::Light);
    EXPECT_EQ(view::TextColours::LightBackground, BrushColour(ask(edit.GetHwnd())));
    EXPECT_EQ(view::TextColours::LightText, ::GetTextColor(dc));

    edit.SetColours(view::Palette::Window);
    ::SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(systemAnswer, ask(edit.GetHwnd())) << "the system's own answer, as before";
    EXPECT_EQ(::GetSysColor(COLOR_WINDOWTEXT), ::GetTextColor(dc));

    ::SelectObject(dc, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
}

TEST_F(EditWindowTest, AChosenScrollbackLimitBoundsTheText)
{
    edit.SetScrollbackLimit(20000);
    std::wstring lines;
    for (int line = 0; line < 100; ++line)
        lines += L"line " + std::to_wstring(line) + L" of forty characters...\r\n";
    for (int append = 0; append < 20; ++append)
        edit.AppendText(lines.c_str(), TRUE);
    const std::wstring text = Text();
    EXPECT_LE(text.size(), 20000u);
    EXPECT_GE(text.size(), 16000u);
    EXPECT_EQ(0u, text.find(L"line ")) << "whole lines are dropped";

    edit.SetScrollbackLimit(50000);
    for (int append = 0; append < 20; ++append)
        edit.AppendText(lines.c_str(), TRUE);
    EXPECT_GT(Text().size(), 40000u);
}

}  // namespace
