#include "module/BrimblestoneModule.h"
#include "module/Guids.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using server::CBrimblestoneModule;

TEST(Module, LockCountDecidesWhetherTheLibraryMayUnload)
{
    CBrimblestoneModule module(::GetModuleHandleW(nullptr), LIBID_BrimblestoneLib);
    ASSERT_TRUE(module.IsInitialised());
    EXPECT_EQ(S_OK, module.CanUnloadNow());
    EXPECT_EQ(1, module.LockModule());
    EXPECT_EQ(2, module.LockModule());
    EXPECT_EQ(S_FALSE, module.CanUnloadNow());
    EXPECT_EQ(1, module.UnlockModule());
    EXPECT_EQ(1, module.GetModuleLockCount());
    EXPECT_EQ(0, module.UnlockModule());
    EXPECT_EQ(S_OK, module.CanUnloadNow());
}

std::vector<DWORD_PTR> callbackOrder;

void RecordCallback(DWORD_PTR argument)
{
    callbackOrder.push_back(argument);
}

TEST(Module, TerminationCallbacksRunNewestFirstWhenTheModuleEnds)
{
    callbackOrder.clear();
    {
        CBrimblestoneModule module(::GetModuleHandleW(nullptr), LIBID_BrimblestoneLib);
        for (DWORD_PTR argument = 1; argument <= 3; ++argument)
            ASSERT_EQ(S_OK, module.AddTerminationCallback(&RecordCallback, argument));
        EXPECT_TRUE(callbackOrder.empty());
    }
    EXPECT_EQ((std::vector<DWORD_PTR>{3, 2, 1}), callbackOrder);
}

TEST(Module, TheLibraryModuleServesThisImageAndItsIdentities)
{
    const CBrimblestoneModule& module = *server::libraryModule;
    EXPECT_TRUE(module.IsInitialised());
    EXPECT_EQ(::GetModuleHandleW(nullptr), module.Instance());
    EXPECT_TRUE(IsEqualGUID(LIBID_BrimblestoneLib, module.LibraryId()));
}

}  // namespace
