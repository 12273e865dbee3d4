// The test program is itself a program of the platform layer: main() opens the backend
// (headless under ctest) and calls this wWinMain, which runs the tests.
#include <gtest/gtest.h>

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    testing::InitGoogleTest();
    return RUN_ALL_TESTS();
}
