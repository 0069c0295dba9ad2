#include "band/BandFrame.h"

#include "module/BrimblestoneModule.h"

#include <shlobj.h>

#include <new>
#include <utility>

namespace band {
namespace {

// A reference let go of by a timer of the thread, once its message loop runs again.
struct DueRelease {
    UINT_PTR timer;
    IUnknown* object;
    DueRelease* next;
};
// The thread's due releases; a plain pointer, so that the thread's end runs no code of this library.
thread_local DueRelease* dueReleases = nullptr;

void CALLBACK ReleaseWhenDue(HWND, UINT, UINT_PTR timer, DWORD)
{
    ::KillTimer(nullptr, timer);
    for (DueRelease** link = &dueReleases; *link != nullptr; link = &(*link)->next) {
        DueRelease* const due = *link;
        if (due->timer != timer)
            continue;
        *link = due->next;
        IUnknown* const object = due->object;
        delete due;
        object->Release();
        return;
    }
}

// Lets go of the reference once every window message running now has returned: the thread's
// message loop dispatches the timer. Where no timer can be had, it goes at once.
void ReleaseFromMessageLoop(IUnknown& object) noexcept
{
    auto* const due = new (std::nothrow) DueRelease{0, &object, dueReleases};
    if (due != nullptr) {
        due->timer = ::SetTimer(nullptr, 0, 0, ReleaseWhenDue);
        if (due->timer != 0) {
            dueReleases = due;
            return;
        }
        delete due;
    }
    object.Release();
}

// Holds the band for a scope and lets go of it from the message loop.
class HeldFromMessageLoop {
public:
    explicit HeldFromMessageLoop(IUnknown& object) noexcept : object(object) { object.AddRef(); }
    ~HeldFromMessageLoop() { ReleaseFromMessageLoop(object); }
    HeldFromMessageLoop(const HeldFromMessageLoop&) = delete;
    HeldFromMessageLoop& operator=(const HeldFromMessageLoop&) = delete;

private:
    IUnknown& object;
};

}  // namespace

void BandFrame::Site(HWND newParent, IUnknown& site)
{
    parent = newParent;
    inputSite.Reset();
    siteCommands.Reset();
    site.QueryInterface(IID_PPV_ARGS(&inputSite));
    site.QueryInterface(IID_PPV_ARGS(&siteCommands));
}

void BandFrame::Unsite() noexcept
{
    parent = nullptr;
    inputSite.Reset();
    siteCommands.Reset();
}

void BandFrame::FocusChanged(bool hasFocus)
{
    if (!inputSite)
        return;
    // The site may release the band while it is told; the band must survive the call.
    const Microsoft::WRL::ComPtr<IUnknown> keepAlive(&band);
    const Microsoft::WRL::ComPtr<IInputObjectSite> site = inputSite;
    site->OnFocusChangeIS(&band, hasFocus ? TRUE : FALSE);
}

// The library itself carries the helpers' entry points.
HMODULE BandFrame::HelperLibrary()
{
    return server::libraryModule->Instance();
}

// The site asks for the band's information again and gives it the new height.
void BandFrame::RowHeightChanged()
{
    if (!siteCommands)
        return;
    const Microsoft::WRL::ComPtr<IUnknown> keepAlive(&band);
    const Microsoft::WRL::ComPtr<IOleCommandTarget> commands = siteCommands;
    commands->Exec(&CGID_DeskBand, DBID_BANDINFOCHANGED, OLECMDEXECOPT_DODEFAULT, nullptr, nullptr);
}

// The browser may close the band while the window is open. The band, and the console in it, must
// outlive the console's window message that runs the window: the band's last reference may be
// this one, and goes from the message loop.
void BandFrame::RunModal(const std::function<void()>& window)
{
    const HeldFromMessageLoop held(band);
    window();
}

}  // namespace band
