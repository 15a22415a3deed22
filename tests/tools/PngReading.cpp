// A WIC decoder over a memory stream, its frame converted to 24-bit BGR.
#include <initguid.h>  // the codec's class and format identifiers are defined here, once

#include "PngReading.h"

#include "win32/Handles.h"

#include <wincodec.h>

#include <fstream>
#include <iterator>

namespace Testing {

namespace {

std::optional<Host::TImage> Convert(IWICImagingFactory& factory, IWICBitmapFrameDecode& frame) {
  UINT width = 0, height = 0;
  if (FAILED(frame.GetSize(&width, &height))) return std::nullopt;
  Win32::TComRef<IWICFormatConverter> converter;
  if (FAILED(factory.CreateFormatConverter(converter.put()))) return std::nullopt;
  if (FAILED(converter->Initialize(&frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom)))
    return std::nullopt;
  std::vector<BYTE> bgr(static_cast<std::size_t>(width) * height * 3);
  if (FAILED(converter->CopyPixels(nullptr, width * 3, static_cast<UINT>(bgr.size()), bgr.data()))) return std::nullopt;
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
  Win32::TComRef<IWICImagingFactory> factory;
  if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put()))))
    return std::nullopt;
  Win32::TComRef<IWICStream> stream;
  if (FAILED(factory->CreateStream(stream.put()))) return std::nullopt;
  if (FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(png.data()), static_cast<DWORD>(png.size()))))
    return std::nullopt;
  Win32::TComRef<IWICBitmapDecoder> decoder;
  if (FAILED(factory->CreateDecoderFromStream(stream.get(), &GUID_ContainerFormatPng, WICDecodeMetadataCacheOnLoad,
                                              decoder.put())))
    return std::nullopt;
  Win32::TComRef<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.put()))) return std::nullopt;
  return Convert(*factory.get(), *frame.get());
}

std::optional<Host::TImage> DecodePngFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  return DecodePng(bytes);
}

}  // namespace Testing
