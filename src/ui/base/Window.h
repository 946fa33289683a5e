// The base of every window of the program: keeps `this` in GWLP_USERDATA and calls OnMessage.
#pragma once

#include <windows.h>

namespace vorelix::ui {

// The frame of the program's modal tool windows (utilities, configs): a caption with a close box and
// a dialog's border, its controls reached with Tab.
inline constexpr DWORD kToolWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD kToolWindowExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Hwnd() const { return hwnd_; }

  protected:
    // Registers the class once and creates the window, owned by `owner` when one is given; false when
    // the system refused.
    bool CreateTopLevel(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int width,
                        int height, HICON icon, HWND owner = nullptr);

    // Handles one message; the default passes it to DefWindowProcW.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace vorelix::ui
