#include "registration/RegObject.h"
#include "registration/VariableExpansion.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using registration::CRegObject;
using registration::ExpandVariables;

TEST(RegObject, VariablesAreCopiedAndTheFirstOfAnyCaseWins)
{
    CRegObject registrar;
    std::wstring value = L"first";
    ASSERT_EQ(S_OK, registrar.AddVariable(L"Module", value.c_str()));
    value = L"changed";
    ASSERT_EQ(S_OK, registrar.AddVariable(L"MODULE", L"second"));
    ASSERT_NE(nullptr, registrar.FindVariable(L"module"));
    EXPECT_STREQ(L"first", registrar.FindVariable(L"module"));
    EXPECT_EQ(nullptr, registrar.FindVariable(L"Modul"));

    EXPECT_EQ(E_INVALIDARG, registrar.AddVariable(nullptr, L"x"));
    EXPECT_EQ(E_INVALIDARG, registrar.AddVariable(L"x", nullptr));
    EXPECT_EQ(S_OK, registrar.ClearVariables());
    EXPECT_EQ(nullptr, registrar.FindVariable(L"Module"));
}

TEST(VariableExpansion, ReplacesVariablesAnywhereAndDoublePercentMeansOne)
{
    CRegObject registrar;
    registrar.AddVariable(L"Module", L"C:\\it''s 100%X%.dll");
    registrar.AddVariable(L"X", L"never");
    std::wstring expanded;
    ASSERT_EQ(S_OK, ExpandVariables(registrar, L"a = s '%MODULE%' 50%% %module%", &expanded));
    EXPECT_EQ(L"a = s 'C:\\it''s 100%X%.dll' 50% C:\\it''s 100%X%.dll", expanded);
}

TEST(VariableExpansion, NamesHoldAtMost31Characters)
{
    CRegObject registrar;
    const std::wstring longest(31, L'v');
    registrar.AddVariable(longest.c_str(), L"ok");
    registrar.AddVariable((longest + L"v").c_str(), L"never");
    std::wstring expanded = L"untouched";
    EXPECT_EQ(S_OK, ExpandVariables(registrar, (L"%" + longest + L"%").c_str(), &expanded));
    EXPECT_EQ(L"ok", expanded);
    expanded = L"untouched";
    EXPECT_EQ(E_FAIL, ExpandVariables(registrar, (L"%" + longest + L"v%").c_str(), &expanded));
    EXPECT_EQ(L"untouched", expanded);
}

TEST(VariableExpansion, UnknownUnterminatedAndNullAreRejected)
{
    CRegObject registrar;
    registrar.AddVariable(L"APPID", L"{id}");
    std::wstring expanded;
    EXPECT_EQ(DISP_E_EXCEPTION, ExpandVariables(registrar, L"%APPID% %OTHER%", &expanded));
    EXPECT_EQ(DISP_E_EXCEPTION, ExpandVariables(registrar, L"50%", &expanded));
    EXPECT_EQ(DISP_E_EXCEPTION, ExpandVariables(registrar, L"%APPID", &expanded));
    EXPECT_EQ(E_POINTER, ExpandVariables(registrar, nullptr, &expanded));
    EXPECT_EQ(E_POINTER, ExpandVariables(registrar, L"x", nullptr));
}

}  // namespace
