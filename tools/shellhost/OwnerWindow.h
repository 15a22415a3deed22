// A real top-level window of the host's own, to own the menu, the invoked command and its message boxes.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace Host {

class TOwnerWindow {
public:
  // Sees the window's messages first; a value ends the message with that result.
  using THandler = std::function<std::optional<LRESULT>(UINT message, WPARAM wParam, LPARAM lParam)>;

  // Hidden, or shown over the given area of the screen in the system's window colour, as a folder window stands
  // behind its context menu.
  explicit TOwnerWindow(THandler handler = {}, const RECT* shownOver = nullptr);
  ~TOwnerWindow();
  TOwnerWindow(const TOwnerWindow&) = delete;
  TOwnerWindow& operator=(const TOwnerWindow&) = delete;

  HWND Handle() const { return FWindow; }

private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  THandler FHandler;
  HWND FWindow = nullptr;
};

}  // namespace Host
