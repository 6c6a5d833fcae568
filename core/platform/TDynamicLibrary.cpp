#include "TDynamicLibrary.h"

#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace terraq::ui {

namespace {

const char* messageOf(TLibraryError::Kind kind) {
  switch (kind) {
    case TLibraryError::Kind::FailedToInitialize: return "Library failed to properly initialize";
    case TLibraryError::Kind::NotLocated: return "Library could not be located";
    case TLibraryError::Kind::NotOpen: break;
  }
  return "Library is not open";
}

std::string lastSystemError() {
#if defined(_WIN32)
  return std::system_category().message(static_cast<int>(GetLastError()));
#else
  const char* text = dlerror();
  return text ? text : "";
#endif
}

}  // namespace

TLibraryError::TLibraryError(Kind kind, std::string detail)
    : std::runtime_error(messageOf(kind)), kind_(kind), detail_(std::move(detail)) {}

void TDynamicLibrary::setFileName(const std::string& fileName) {
  unload();
  fileName_ = fileName;
}

void TDynamicLibrary::load() {
  if (handle_) return;
  // The loader's own failure does not tell a missing file from a broken
  // one in a portable way, so the file is looked for first.
  std::error_code ec;
  if (fileName_.empty() || !std::filesystem::is_regular_file(fileName_, ec))
    throw TLibraryError(TLibraryError::Kind::NotLocated, fileName_);
#if defined(_WIN32)
  handle_ = reinterpret_cast<void*>(LoadLibraryA(fileName_.c_str()));
#else
  // Immediate binding, so that a library with unresolved symbols fails here
  // and not in the middle of a run.
  handle_ = dlopen(fileName_.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
  if (!handle_) throw TLibraryError(TLibraryError::Kind::FailedToInitialize, lastSystemError());
}

void* TDynamicLibrary::lookup(const std::string& entryName) const {
  if (!handle_) throw TLibraryError(TLibraryError::Kind::NotOpen, fileName_);
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), entryName.c_str()));
#else
  return dlsym(handle_, entryName.c_str());
#endif
}

void TDynamicLibrary::unload() {
  if (!handle_) return;
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle_));
#else
  dlclose(handle_);
#endif
  handle_ = nullptr;
}

}  // namespace terraq::ui
