// Reading the options anew at every right-click, so that a change takes effect at the next one.
#include "Settings.h"

#include "Registry.h"
#include "Shared.h"

namespace ContextM {

namespace {

// What the last read found, kept for the module; every menu is built from a fresh read, never from these.
TShared<TOptionValues> ModuleOptions;

// Anything but exactly "0" switches a filter on, an absent value included.
bool SwitchedOn(const std::string& text) { return text != "0"; }

}  // namespace

std::string UpperCase(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// Published only when all three reads succeed, so that no menu is ever built from half-read options.
TOptionValues ReadOptions() {
  TRegistry registry;
  registry.OpenKey(OptionsKeyPath);  // a missing key reads as empty values
  TOptionValues options;
  options.DecryptFilter = SwitchedOn(registry.ReadString(DecryptFilterValue));
  options.CarrierFilter = SwitchedOn(registry.ReadString(CarrierFilterValue));
  options.CarrierMask = UpperCase(registry.ReadString(CarrierMaskValue));
  ModuleOptions.Set(options);
  return options;
}

TOptionValues CurrentOptions() { return ModuleOptions.Get(); }

void ClearCarrierMask() {
  ModuleOptions.Update([](TOptionValues& options) { options.CarrierMask.clear(); });
}

std::string ReadExeName() {
  TRegistry registry;
  registry.OpenKey(OptionsKeyPath);
  return registry.ReadString(ExeNameValue);
}

}  // namespace ContextM
