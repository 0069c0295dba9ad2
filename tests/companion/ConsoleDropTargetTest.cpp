// Files dropped on a docked console: a file list is linked and handed on whole, anything else
// refused, and nothing reaches a console that is gone.
#include "DropSequence.h"
#include "FileListDataObject.h"
#include "companion/ConsoleDropTarget.h"

#include <gtest/gtest.h>

namespace {

using Paths = std::vector<std::wstring>;

TEST(ConsoleDropTarget, LinksAFileListHandsItOnAndRefusesEverythingElse)
{
    std::vector<Paths> drops;
    const Microsoft::WRL::ComPtr<companion::ConsoleDropTarget> target =
        companion::ConsoleDropTarget::Create(nullptr, [&](Paths paths) { drops.push_back(std::move(paths)); });
    const Paths files = {L"C:\\Work\\a.txt", L"C:\\Work\\my notes.txt"};

    standin::DropOutcome outcome =
        standin::DragAndDrop(*target.Get(), *standin::FileListDataObject::WithFiles(files).Get(), POINTL{10, 10});
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), outcome.enterEffect);
    EXPECT_TRUE(outcome.dropped);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), outcome.dropEffect);
    EXPECT_EQ(std::vector<Paths>{files}, drops);

    outcome = standin::DragAndDrop(*target.Get(), *standin::FileListDataObject::WithoutFiles().Get(), POINTL{10, 10});
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), outcome.enterEffect);
    EXPECT_FALSE(outcome.dropped);

    target->Detach();
    outcome = standin::DragAndDrop(*target.Get(), *standin::FileListDataObject::WithFiles(files).Get(), POINTL{10, 10});
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), outcome.enterEffect);
    EXPECT_EQ(1u, drops.size());
    EXPECT_EQ(E_INVALIDARG, target->DragOver(0, POINTL{0, 0}, nullptr));
}

}  // namespace
