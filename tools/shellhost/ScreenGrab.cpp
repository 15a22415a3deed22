// BitBlt from the screen's device context into a top-down 32-bit DIB section, then to RGB bytes.
#include "ScreenGrab.h"

#include "HostError.h"
#include "win32/Handles.h"

namespace Host {

namespace {

[[noreturn]] void Fail(const char* call) {
  throw EHostError(TExitCode::ecScreenshot, std::string(call) + " failed while reading the screen");
}

}  // namespace

TImage GrabScreen(const RECT& area) {
  TImage image{area.right - area.left, area.bottom - area.top, {}};
  if (image.Width <= 0 || image.Height <= 0) throw EHostError(TExitCode::ecScreenshot, "Nothing to capture");
  Win32::TScreenDc screen(::GetDC(nullptr));
  Win32::TMemoryDc memory(::CreateCompatibleDC(screen.get()));
  if (!screen || !memory) Fail("GetDC");

  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = image.Width;
  format.bmiHeader.biHeight = -image.Height;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  Win32::TBitmap section(::CreateDIBSection(screen.get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section) Fail("CreateDIBSection");
  HGDIOBJ previous = ::SelectObject(memory.get(), section.get());
  BOOL copied =
      ::BitBlt(memory.get(), 0, 0, image.Width, image.Height, screen.get(), area.left, area.top, SRCCOPY | CAPTUREBLT);
  ::SelectObject(memory.get(), previous);
  if (!copied) Fail("BitBlt");

  // The section's pixels are blue, green, red and an unused byte.
  const auto* pixels = static_cast<const std::uint8_t*>(bits);
  std::size_t count = static_cast<std::size_t>(image.Width) * image.Height;
  image.Rgb.resize(count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    image.Rgb[i * 3] = pixels[i * 4 + 2];
    image.Rgb[i * 3 + 1] = pixels[i * 4 + 1];
    image.Rgb[i * 3 + 2] = pixels[i * 4];
  }
  return image;
}

}  // namespace Host
