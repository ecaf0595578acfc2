#include "platform/Process.h"

#include "tests/support/Host.h"
#include "tests/support/TestFolder.h"

#include <cstring>
#include <gtest/gtest.h>
#include <windows.h>

// Windows only: POSIX has no programs listening for environment changes, so nothing is broadcast there.
namespace varset {
namespace {

using namespace std::chrono_literals;

int g_environmentChanges = 0;

LRESULT CALLBACK countChanges(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTINGCHANGE && lParam && std::strcmp(reinterpret_cast<const char*>(lParam), "Environment") == 0) {
        ++g_environmentChanges;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A top-level window of this test counts the WM_SETTINGCHANGE messages a run of Varset sends; the
// messages arrive while the test waits for Varset, since Varset waits for every window to take them.
int environmentChangesOfOneRun()
{
    WNDCLASSA windowClass {};
    windowClass.lpfnWndProc = countChanges;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "OrvantBroadcastCounter";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowA(windowClass.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr,
                                      nullptr, windowClass.hInstance, nullptr);
    EXPECT_NE(window, nullptr);
    g_environmentChanges = 0;
    const auto varset = orvant::platform::startProgram(VARSET_PROGRAM, "", "", orvant::platform::WindowMode::Hidden);
    for (int waited = 0; varset && !varset->waitForExit(10ms) && waited < 6000; ++waited) {
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
            DispatchMessageA(&message);
        }
    }
    DestroyWindow(window);
    return g_environmentChanges;
}

TEST(Broadcast, EveryChangedVariableIsAnnouncedAndAFailedOneIsNot)
{
    {
        orvant::test::TestFolder folder;
        EXPECT_EQ(environmentChangesOfOneRun(), 4);
        EXPECT_EQ(environmentChangesOfOneRun(), 0);
    }
    orvant::test::TestFolder folder;
    orvant::test::host::denyMachineRegistryWrites(folder.registryFolder());
    EXPECT_EQ(environmentChangesOfOneRun(), 0);
}

} // namespace
} // namespace varset
