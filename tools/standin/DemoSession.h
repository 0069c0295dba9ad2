#pragma once

namespace standin {

class BrowserWindow;

// A short session with the hosted console band, as a user would have it: waits for the prompt,
// lists the folder, opens the folder's first subfolder in the browser (the console follows),
// goes back up with "cd .." in the console (the browser follows), and then writes the console's
// whole text to standard output. Every step waits for its answer at most 20 seconds; false when
// one did not come, after writing what the console shows and which step stalled.
bool RunDemoSession(BrowserWindow& window);

// Closes the window once the program's standard input ends, so that whoever started the program
// decides how long the finished session stays on the screen.
void CloseWhenInputEnds(BrowserWindow& window);

}  // namespace standin
