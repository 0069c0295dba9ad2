#include "BandTestSupport.h"

#include "band/ConsoleCoreFactory.h"

namespace {

constexpr int Cycles = 50;

// One band's whole life in a browser window: created, sited, its interpreter's first prompt
// shown, then the window closed, which disconnects the band and lets its last reference go.
void LiveOneBand(const std::wstring& folder)
{
    standin::BrowserWindow window;
    ASSERT_TRUE(window.Create(folder));
    Microsoft::WRL::ComPtr<IUnknown> band;
    ASSERT_EQ(S_OK, band::CreateConsoleCore(nullptr, IID_PPV_ARGS(&band)));
    ASSERT_EQ(S_OK, window.SiteBand(band.Get()));
    band.Reset();
    const HWND edit = ::FindWindowExW(window.BandWindow(), nullptr, L"Brimblestone Editbox", nullptr);
    ASSERT_NE(nullptr, edit);
    const std::wstring prompt = bandtest::PromptOf(folder);
    ASSERT_TRUE(window.PumpUntil([&] {
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(edit, &text[0], static_cast<int>(text.size()))));
        return bandtest::EndsWith(text, prompt);
    }));
    window.Close();
    EXPECT_FALSE(::IsWindow(edit));
}

// The first band in a process leaves what lives as long as the process: window classes, OLE's
// drag-and-drop windows and the drag image helper's module. Later bands may add nothing; a few
// handles of slack allow for Wine's own caches (registry keys, the server's event queue) that
// the system fills on demand.
TEST(BandResources, NoHandleOrThreadOutlivesTheBand)
{
    const bandtest::ScratchFolder folder;
    LiveOneBand(folder.Path());
    const int handlesBefore = bandtest::CountOpenHandles();
    const int threadsBefore = bandtest::CountThreads();

    for (int cycle = 0; cycle < Cycles && !::testing::Test::HasFatalFailure(); ++cycle)
        LiveOneBand(folder.Path());

    EXPECT_TRUE(bandtest::RunningInterpreters().empty());
    int handlesAfter = 0;
    int threadsAfter = 0;
    // A worker thread that has been joined may still be listed until the system has reaped it.
    standin::PumpUntil(
        [&] {
            handlesAfter = bandtest::CountOpenHandles();
            threadsAfter = bandtest::CountThreads();
            return handlesAfter <= handlesBefore + 8 && threadsAfter <= threadsBefore;
        },
        standin::DefaultPumpTimeoutMs, nullptr);
    EXPECT_LE(handlesAfter, handlesBefore + 8) << "before " << handlesBefore;
    EXPECT_LE(threadsAfter, threadsBefore) << "before " << threadsBefore;
}

}  // namespace
