#include "console/ConversionCodePage.h"

#include <gtest/gtest.h>

namespace {

TEST(ConversionCodePage, ResolvesToTheAnsiCodePageOfTheCallingThreadsLocale)
{
    const LCID original = ::GetThreadLocale();
    ASSERT_TRUE(::SetThreadLocale(MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT)));
    const UINT japanese = console::ResolvedConversionCodePage();
    ::SetThreadLocale(original);
    EXPECT_EQ(932u, japanese);
    EXPECT_NE(static_cast<UINT>(CP_THREAD_ACP), console::ResolvedConversionCodePage());
}

}  // namespace
