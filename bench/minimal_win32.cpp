// The yardstick for start-up on Windows: the least a Win32 program does to show a window of
// Talmiro's size with some text in it, linked with Talmiro's resources and so its manifest.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    HWND window = CreateWindowExW(0, L"STATIC", L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 471, 340, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, showCommand);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
