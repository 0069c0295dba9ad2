#include "session/ConsoleSession.h"

#include "settings/AppTheme.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsWindow.h"
#include "support/Diagnostics.h"

#include <algorithm>
#include <utility>

namespace session {
namespace {

// The console window's margins above and below the text box (LayOutTextBox).
constexpr int TextBoxMargins = 2;
// Space between a row of text and the text box's frame.
constexpr int RowPadding = 3;
// The height the band has always had, which a row of the dialog font with its frame fills (or
// nearly: fonts differ by a pixel between systems); smaller fonts keep it.
constexpr int LeastRowHeight = 22;

view::Palette PaletteFor(settings::Shade shade) noexcept
{
    switch (shade) {
    case settings::Shade::Light:
        return view::Palette::Light;
    case settings::Shade::Dark:
        return view::Palette::Dark;
    default:
        return view::Palette::Window;
    }
}

}  // namespace

int ConsoleSession::RowHeight() const noexcept
{
    return std::max(LeastRowHeight, edit.LineHeight() + 2 * ::GetSystemMetrics(SM_CYEDGE) + TextBoxMargins + RowPadding);
}

// The listener comes first, so that a change saved while the settings are read is not missed.
void ConsoleSession::FollowSettings()
{
    if (!settingsListener) {
        settingsListener = std::make_unique<settings::SettingsListener>([this](settings::SettingsChange) {
            SettingsChanged();
        });
        if (!settingsListener->IsListening())
            BRIMBLESTONE_TRACE_LAST_ERROR();
    }
    ApplySettings(settings::ReadSettings(hostKind));
}

// A saved change or one of Windows' colours: everything is read again, and a host that sizes the
// console in rows hears of a new row height.
void ConsoleSession::SettingsChanged()
{
    if (InHostCall()) {
        deferred.settingsChanged = true;
        return;
    }
    const int rowHeight = RowHeight();
    FollowSettings();
    if (RowHeight() == rowHeight)
        return;
    const HostCall call(*this);
    frame.RowHeightChanged();
}

// A recall in progress ends only when the history's length changes.
void ConsoleSession::ApplySettings(const settings::ConsoleSettings& chosen)
{
    edit.SetFont(chosen.fontFace, chosen.fontPoints);
    edit.SetColours(PaletteFor(settings::ShadeFor(chosen.colours)));
    edit.SetScrollbackLimit(chosen.scrollbackLimit);
    if (chosen.historyLength != applied.historyLength)
        history.SetCapacity(static_cast<size_t>(chosen.historyLength));
    applied = chosen;
    if (!chosen.keepHistory)
        savedHistory.reset();
    else if (!savedHistory)
        ReadSavedHistory();
}

// The saved lines are read once per console, when it first keeps its history; kept again after a
// pause, it saves its lines from then on.
void ConsoleSession::ReadSavedHistory()
{
    std::wstring path = settings::HistoryFile::DefaultPath();
    const bool read = std::exchange(savedHistoryRead, true);
    if (path.empty()) {
        if (!read)
            SayLine(L"Command history not kept: Windows names no folder for the user's local data.");
        return;
    }
    savedHistory.emplace(std::move(path));
    if (read)
        return;
    const settings::HistoryFile::Loaded loaded = savedHistory->Load(static_cast<size_t>(applied.historyLength));
    history.Restore(loaded.lines);
    if (!loaded.problem.empty())
        SayLine(loaded.problem);
}

void ConsoleSession::KeepInSavedHistory(const std::wstring& line)
{
    if (!savedHistory)
        return;
    const std::wstring problem = savedHistory->Append(line, static_cast<size_t>(applied.historyLength));
    if (!problem.empty())
        SayLine(problem);
}

void ConsoleSession::SayLine(const std::wstring& line)
{
    if (::GetWindowTextLengthW(edit.GetHwnd()) == 0)
        edit.AppendText((line + L"\r\n").c_str(), TRUE);
    else
        SayAboveInput(line);
}

// Shown from a message of the console's own, never inside another of its tasks: the console goes
// on serving while the window is open (output, the browser's reports, a change applied at once).
void ConsoleSession::ShowSettingsWindow()
{
    const HWND owner = GetHwnd();
    const settings::HostKind host = hostKind;
    frame.RunModal([owner, host] { settings::ShowSettingsWindow(owner, host); });
}

}  // namespace session
