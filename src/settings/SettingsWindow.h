#pragma once

#include "settings/ConsoleSettings.h"

namespace settings {

// The window's controls, for programs that work it as a user does (tests, accessibility tools).
enum SettingsControl : WORD {
    FontNameField = 100,
    ChooseFontButton,
    FixedPitchOnlyBox,
    ColoursList,
    ScrollbackField,
    HistoryLengthField,
    KeepHistoryBox,
    DockedHeightField,
    ShowForNewWindowsBox,
    StartAtSignInBox,
    ShortcutField,
    ApplyButton,
};

enum class SettingsWindowEnd {
    Saved,        // closed after saving at least once (OK or Apply)
    NotSaved,     // closed without saving anything
    ShownAlready,  // the process shows the window already: it was brought to the front instead
    NotShown,     // the system could not make the window
};

// Shows the settings window, owned by `owner`'s top-level window, which it disables while it is
// open, and returns when the user closes it. It starts from the settings as `host` reads them;
// OK and Apply write what the user changed and announce it to every console (see
// AnnounceSettingsChange). One settings window per process: a second call brings it to the front.
// Standard controls only, each named by the label before it, all reached with the keyboard.
SettingsWindowEnd ShowSettingsWindow(HWND owner, HostKind host);

}  // namespace settings
