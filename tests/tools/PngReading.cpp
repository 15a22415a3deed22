// A WIC decoder over a memory stream, its frame converted to 24-bit BGR.
#include <initguid.h>  // the codec's class and format identifiers are defined here, once

#include "PngReading.h"

#include "win32/Handles.h"

#include <wincodec.h>

#include <fstream>
#include <iterator>

namespace Testing {

namespace {

template <class Interface>
using TRef = Win32::TComRef<Interface>;

std::optional<Host::TImage> Convert(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame) {
  UINT width = 0, height = 0;
  if (FAILED(frame.GetSize(&width, &height))) return std::nullopt;
  IWICFormatConverter* converterPointer = nullptr;
  if (FAILED(factory.CreateFormatConverter(&converterPointer))) return std::nullopt;
  TRef<IWICFormatConverter> converter(converterPointer);
  if (FAILED(converter.get()->Initialize(&frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                         WICBitmapPaletteTypeCustom)))
    return std::nullopt;
  std::vector<BYTE> bgr(static_cast<std::size_t>(width) * height * 3);
  if (FAILED(converter.get()->CopyPixels(nullptr, width * 3, static_cast<UINT>(bgr.size()), bgr.data())))
    return std::nullopt;
  Host::TImage image{static_cast<int>(width), static_cast<int>(height), std::vector<std::uint8_t>(bgr.size())};
  for (std::size_t i = 0; i < bgr.size(); i += 3) {
    image.Rgb[i] = bgr[i + 2];
    image.Rgb[i + 1] = bgr[i + 1];
    image.Rgb[i + 2] = bgr[i];
  }
  return image;
}

}  // namespace

std::optional<Host::TImage> DecodePng(const std::vector<std::uint8_t>& png) {
  IWICImagingFactory* factoryPointer = nullptr;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factoryPointer))))
    return std::nullopt;
  TRef<IWICImagingFactory> factory(factoryPointer);
  IWICStream* streamPointer = nullptr;
  if (FAILED(factory.get()->CreateStream(&streamPointer))) return std::nullopt;
  TRef<IWICStream> stream(streamPointer);
  if (FAILED(stream.get()->InitializeFromMemory(const_cast<BYTE*>(png.data()), static_cast<DWORD>(png.size()))))
    return std::nullopt;
  IWICBitmapDecoder* decoderPointer = nullptr;
  if (FAILED(factory.get()->CreateDecoderFromStream(stream.get(), &GUID_ContainerFormatPng,
                                                    WICDecodeMetadataCacheOnLoad, &decoderPointer)))
    return std::nullopt;
  TRef<IWICBitmapDecoder> decoder(decoderPointer);
  IWICBitmapFrameDecode* framePointer = nullptr;
  if (FAILED(decoder.get()->GetFrame(0, &framePointer))) return std::nullopt;
  TRef<IWICBitmapFrameDecode> frame(framePointer);
  return Convert(*factory.get(), *frame.get());
}

std::optional<Host::TImage> DecodePngFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return DecodePng(bytes);
}

}  // namespace Testing
