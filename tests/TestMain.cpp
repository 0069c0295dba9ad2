#include <gtest/gtest.h>
#include <objbase.h>
#include <ole2.h>

// Every test runs on one single-threaded apartment, as the band does in the browser window.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (FAILED(OleInitialize(nullptr)))
        return 2;
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
