// The floors' platform calls.
#include "Floors.h"

#include "shell/Identities.h"

#include <shlobj.h>

#include <cwchar>
#include <stdexcept>

namespace Bench {

namespace {

namespace Caption = ContextM::MenuCaptions;

// The handler's submenu in position order; null captions are separators.
constexpr const char* Captions[] = {Caption::Hide, Caption::HideInCarrier, Caption::Unhide,         Caption::UnhideHere,
                                    nullptr,       Caption::Encrypt,       Caption::EncryptAndSend, Caption::Decrypt,
                                    nullptr,       Caption::Shred};

void ReadOptions() {
  Win32::TRegKey key;
  ::RegOpenKeyExA(HKEY_CURRENT_USER, ContextM::OptionsKeyPath, 0, KEY_QUERY_VALUE, key.put());
  for (const char* name : {ContextM::DecryptFilterValue, ContextM::CarrierFilterValue, ContextM::CarrierMaskValue}) {
    char value[512];
    DWORD type = REG_NONE, size = sizeof value;
    ::RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  }
}

}  // namespace

TMenuFloor::TMenuFloor() : FBitmap(::CreateBitmap(16, 16, 1, 1, nullptr)) {
  if (!FBitmap) throw std::runtime_error("cannot make the floor's bitmap");
}

void TMenuFloor::Build(HMENU shellMenu, UINT index, UINT firstId) const {
  ReadOptions();
  Win32::TMenu popup(::CreatePopupMenu());
  UINT position = 0;
  for (const char* caption : Captions) {
    UINT flags = MF_BYPOSITION | (caption ? MF_STRING : MF_SEPARATOR);
    ::InsertMenuA(popup.get(), position, flags, firstId + position, caption);
    ++position;
  }
  ::InsertMenuA(shellMenu, index, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), "Tarnwick");
  popup.release();
  ::SetMenuItemBitmaps(shellMenu, index, MF_BYPOSITION, FBitmap.get(), FBitmap.get());
}

void SearchEvery(const std::vector<std::string>& paths) {
  WIN32_FIND_DATAA found;
  for (const std::string& path : paths) Win32::TFindHandle search(::FindFirstFileA(path.c_str(), &found));
}

void ReadOnce(IDataObject* data) {
  FORMATETC format{CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
  Win32::TStgMedium medium;
  if (FAILED(data->GetData(&format, medium.put()))) throw std::runtime_error("GetData failed");
  HGLOBAL memory = medium.get().hGlobal;
  SIZE_T size = ::GlobalSize(memory);
  const auto* block = static_cast<const char*>(::GlobalLock(memory));
  const auto* drop = reinterpret_cast<const DROPFILES*>(block);
  const auto* name = reinterpret_cast<const wchar_t*>(block + drop->pFiles);
  const auto* end = reinterpret_cast<const wchar_t*>(block + size);
  char converted[4096];
  while (name < end) {
    std::size_t length = ::wcsnlen(name, static_cast<std::size_t>(end - name));
    if (length == 0) break;
    BOOL usedDefault = FALSE;
    ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, static_cast<int>(length), converted, sizeof converted,
                          nullptr, &usedDefault);
    name += length + 1;
  }
  ::GlobalUnlock(memory);
}

}  // namespace Bench
