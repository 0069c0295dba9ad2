#include "support/WindowImpl.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr UINT WM_TEST_THROW = WM_APP + 40;
constexpr UINT WM_TEST_ANSWER = WM_APP + 41;
constexpr UINT WM_TEST_DESTROY_INSIDE = WM_APP + 42;

const support::WindowClass& PlainTestClass()
{
    static const support::WindowClass registered = [] {
        WNDCLASSEXW description{};
        description.lpszClassName = L"Brimblestone Test Plain";
        description.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        return support::CWindowImpl::RegisterPlainClass(description);
    }();
    return registered;
}

// Records what reaches its map; answers WM_TEST_ANSWER itself and throws on WM_TEST_THROW.
class RecordingWindow : public support::CWindowImpl {
public:
    HWND Create(HWND parent = nullptr)
    {
        return CreateBoundWindow(PlainTestClass(), parent, RECT{0, 0, 100, 100}, L"", parent ? WS_CHILD : WS_POPUP,
                                 0, 0);
    }

    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM, LPARAM, LRESULT& result, DWORD mapId) override
    {
        messages.push_back(message);
        if (mapId != 0)
            return FALSE;
        if (message == WM_TEST_THROW)
            throw std::runtime_error("handler failed");
        if (message == WM_TEST_ANSWER) {
            result = 42;
            return TRUE;
        }
        if (message == WM_TEST_DESTROY_INSIDE) {
            ::DestroyWindow(GetHwnd());
            finalSeenInside = finalMessages;
            return TRUE;
        }
        return FALSE;
    }

    void OnFinalMessage(HWND window) override
    {
        ++finalMessages;
        finalWindow = window;
    }

    std::vector<UINT> messages;
    int finalMessages = 0;
    int finalSeenInside = -1;
    HWND finalWindow = nullptr;
};

// Offers every message to another object's map first, as a window hosting a control does.
class ChainingWindow : public RecordingWindow {
public:
    explicit ChainingWindow(support::CWindowImpl& inner) : inner(inner) {}

    BOOL ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapId) override
    {
        if (inner.ProcessWindowMessage(window, message, wParam, lParam, result, 0))
            return TRUE;
        return RecordingWindow::ProcessWindowMessage(window, message, wParam, lParam, result, mapId);
    }

private:
    support::CWindowImpl& inner;
};

class EditSuperclassWindow : public support::CWindowImpl {
public:
    HWND Create()
    {
        static const support::WindowClass registered =
            RegisterSuperclass(L"EDIT", L"Brimblestone Test Edit");
        return CreateBoundWindow(registered, nullptr, RECT{0, 0, 200, 50}, L"start", WS_POPUP | ES_MULTILINE, 0, 0);
    }

    BOOL ProcessWindowMessage(HWND, UINT message, WPARAM, LPARAM, LRESULT& result, DWORD) override
    {
        if (message != WM_TEST_ANSWER)
            return FALSE;
        result = 7;
        return TRUE;
    }
};

bool Contains(const std::vector<UINT>& messages, UINT message)
{
    for (const UINT seen : messages)
        if (seen == message)
            return true;
    return false;
}

TEST(WindowImpl, RoutesEveryMessageFromCreationToFinalMessage)
{
    RecordingWindow window;
    const HWND created = window.Create();
    ASSERT_NE(nullptr, created);
    EXPECT_EQ(created, window.GetHwnd());
    EXPECT_TRUE(Contains(window.messages, WM_NCCREATE));
    EXPECT_TRUE(Contains(window.messages, WM_CREATE));
    EXPECT_EQ(42, ::SendMessageW(created, WM_TEST_ANSWER, 0, 0));
    EXPECT_EQ(nullptr, window.Create()) << "one object, one window";

    ::DestroyWindow(created);
    EXPECT_TRUE(Contains(window.messages, WM_NCDESTROY));
    EXPECT_EQ(1, window.finalMessages);
    EXPECT_EQ(created, window.finalWindow);
    EXPECT_EQ(nullptr, window.GetHwnd());
    EXPECT_NE(nullptr, window.Create()) << "the object can make a new window after the last one is gone";
}

TEST(WindowImpl, FinalMessageWaitsForTheOutermostMessage)
{
    RecordingWindow window;
    const HWND created = window.Create();
    ASSERT_NE(nullptr, created);
    ::SendMessageW(created, WM_TEST_DESTROY_INSIDE, 0, 0);
    EXPECT_EQ(0, window.finalSeenInside);
    EXPECT_EQ(1, window.finalMessages);
    EXPECT_FALSE(::IsWindow(created));
}

TEST(WindowImpl, AFailingHandlerLeavesTheMessageToTheClass)
{
    RecordingWindow window;
    const HWND created = window.Create();
    ASSERT_NE(nullptr, created);
    EXPECT_EQ(0, ::SendMessageW(created, WM_TEST_THROW, 0, 0));
    EXPECT_TRUE(::IsWindow(created));
    EXPECT_EQ(42, ::SendMessageW(created, WM_TEST_ANSWER, 0, 0));
}

TEST(WindowImpl, ObjectGoingFirstTakesItsWindowAlong)
{
    HWND created = nullptr;
    {
        RecordingWindow window;
        created = window.Create();
        ASSERT_NE(nullptr, created);
    }
    EXPECT_FALSE(::IsWindow(created));
}

TEST(WindowImpl, ChainedMapAnswersBeforeTheWindowsOwn)
{
    EditSuperclassWindow inner;
    ChainingWindow outer(inner);
    const HWND created = outer.Create();
    ASSERT_NE(nullptr, created);
    outer.messages.clear();
    EXPECT_EQ(7, ::SendMessageW(created, WM_TEST_ANSWER, 0, 0));
    EXPECT_FALSE(Contains(outer.messages, WM_TEST_ANSWER));
    ::SendMessageW(created, WM_TEST_THROW + 10, 0, 0);
    EXPECT_TRUE(Contains(outer.messages, WM_TEST_THROW + 10));
}

TEST(WindowImpl, SuperclassBehavesAsTheSystemClass)
{
    EditSuperclassWindow edit;
    const HWND created = edit.Create();
    ASSERT_NE(nullptr, created);
    wchar_t className[64] = {};
    ::GetClassNameW(created, className, 64);
    EXPECT_STREQ(L"Brimblestone Test Edit", className);
    WNDCLASSEXW description{};
    description.cbSize = sizeof(description);
    ASSERT_TRUE(::GetClassInfoExW(::GetModuleHandleW(nullptr), L"Brimblestone Test Edit", &description));
    EXPECT_EQ(0u, description.style & CS_GLOBALCLASS);

    ::SendMessageW(created, EM_SETSEL, 5, 5);
    ::SendMessageW(created, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L" and more"));
    wchar_t text[64] = {};
    ::GetWindowTextW(created, text, 64);
    EXPECT_STREQ(L"start and more", text);
    EXPECT_EQ(7, ::SendMessageW(created, WM_TEST_ANSWER, 0, 0));
}

}  // namespace
