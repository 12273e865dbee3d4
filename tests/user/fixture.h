// A shown test window whose procedure records what it receives, on a fresh queue and key state;
// input is fed through the layer's own translation, as the backends feed it.
#pragma once

#include <gtest/gtest.h>

#include "../../platform/user/user.h"

#include <vector>

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Received&) const = default;
};

inline std::vector<Received> received;

inline LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    received.push_back({message, wParam, lParam});
    return DefWindowProcW(window, message, wParam, lParam);
}

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXW wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = RecordingProc;
            wc.lpszClassName = L"QorinTestWindow";
            ASSERT_NE(RegisterClassExW(&wc), 0);
            registered = true;
        }
        qp::user::PumpInput();
        qp::user::ResetInput();
        window = CreateWindowExW(0, L"QorinTestWindow", L"test", WS_POPUP | WS_SYSMENU, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        ShowWindow(window, SW_SHOWDEFAULT);
        received.clear();
    }
    void TearDown() override
    {
        DestroyWindow(window);
        qp::user::ResetInput();
    }

    // Every queued message, in order, as (window, message, wParam, lParam).
    std::vector<MSG> Drain()
    {
        std::vector<MSG> out;
        for (MSG msg; PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);)
            out.push_back(msg);
        return out;
    }

    HWND window = nullptr;
};
