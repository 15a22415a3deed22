// WIC's PNG encoder writing one 24-bit frame into a stream on global memory.
#include <initguid.h>  // the codec's class and format identifiers are defined here

#include "PngWriter.h"

#include "HostError.h"
#include "tools/ToolText.h"
#include "win32/Handles.h"

#include <wincodec.h>

#include <cstring>
#include <filesystem>
#include <fstream>

namespace Host {

namespace {

void CheckCodec(HRESULT result, const char* call) { CheckCall(result, call, TExitCode::ecScreenshot); }

// WIC's 24-bit format is blue, green, red.
std::vector<BYTE> BgrRows(const TImage& image) {
  std::vector<BYTE> bgr(image.Rgb.size());
  for (std::size_t i = 0; i + 2 < bgr.size(); i += 3) {
    bgr[i] = image.Rgb[i + 2];
    bgr[i + 1] = image.Rgb[i + 1];
    bgr[i + 2] = image.Rgb[i];
  }
  return bgr;
}

void EncodeFrame(IWICBitmapEncoder& encoder, const TImage& image) {
  Win32::TComRef<IWICBitmapFrameEncode> frame;
  CheckCodec(encoder.CreateNewFrame(frame.put(), nullptr), "IWICBitmapEncoder::CreateNewFrame");
  CheckCodec(frame->Initialize(nullptr), "IWICBitmapFrameEncode::Initialize");
  CheckCodec(frame->SetSize(static_cast<UINT>(image.Width), static_cast<UINT>(image.Height)),
             "IWICBitmapFrameEncode::SetSize");
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  CheckCodec(frame->SetPixelFormat(&format), "IWICBitmapFrameEncode::SetPixelFormat");
  if (!::IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
    throw EHostError(TExitCode::ecScreenshot, "The PNG encoder does not take 24-bit pixels");
  std::vector<BYTE> bgr = BgrRows(image);
  CheckCodec(frame->WritePixels(static_cast<UINT>(image.Height), static_cast<UINT>(image.Width) * 3,
                                static_cast<UINT>(bgr.size()), bgr.data()),
             "IWICBitmapFrameEncode::WritePixels");
  CheckCodec(frame->Commit(), "IWICBitmapFrameEncode::Commit");
}

std::vector<std::uint8_t> StreamBytes(IStream& stream) {
  STATSTG status{};
  CheckCodec(stream.Stat(&status, STATFLAG_NONAME), "IStream::Stat");
  HGLOBAL memory = nullptr;
  CheckCodec(::GetHGlobalFromStream(&stream, &memory), "GetHGlobalFromStream");
  Win32::TGlobalLock locked(memory);
  std::size_t size = static_cast<std::size_t>(status.cbSize.QuadPart);
  if (!locked.data() || locked.size() < size) throw EHostError(TExitCode::ecScreenshot, "The encoded PNG is lost");
  const auto* bytes = static_cast<const std::uint8_t*>(locked.data());
  return {bytes, bytes + size};
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const TImage& image) {
  Win32::TComRef<IWICImagingFactory> factory;
  CheckCodec(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory.put())),
             "CoCreateInstance of the imaging factory");
  Win32::TComRef<IStream> stream;
  CheckCodec(::CreateStreamOnHGlobal(nullptr, TRUE, stream.put()), "CreateStreamOnHGlobal");
  Win32::TComRef<IWICBitmapEncoder> encoder;
  CheckCodec(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()), "CreateEncoder for PNG");
  CheckCodec(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache), "IWICBitmapEncoder::Initialize");
  EncodeFrame(*encoder, image);
  CheckCodec(encoder->Commit(), "IWICBitmapEncoder::Commit");
  return StreamBytes(*stream);
}

void WritePng(const TImage& image, const std::wstring& path) {
  std::vector<std::uint8_t> png = EncodePng(image);
  std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  if (!file.flush()) throw EHostError(TExitCode::ecScreenshot, "Cannot write " + Tools::Utf8(path));
}

}  // namespace Host
