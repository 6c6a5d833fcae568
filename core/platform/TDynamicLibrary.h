#pragma once
// A handle on one dynamically loaded module (the engine library): its file
// name and, while loaded, the module itself. The front ends load the engine
// for one run, look up its entry, call it and unload it again, so that no
// engine state survives from one run to the next.

#include <stdexcept>
#include <string>

namespace terraq::ui {

// The family of library errors. what() is the message shown to the user;
// detail() carries the system's own explanation (may be empty).
class TLibraryError : public std::runtime_error {
 public:
  enum class Kind { FailedToInitialize, NotLocated, NotOpen };
  TLibraryError(Kind kind, std::string detail);
  Kind kind() const { return kind_; }
  const std::string& detail() const { return detail_; }

 private:
  Kind kind_;
  std::string detail_;
};

class TDynamicLibrary {
 public:
  TDynamicLibrary() = default;
  explicit TDynamicLibrary(std::string fileName) : fileName_(std::move(fileName)) {}
  ~TDynamicLibrary() { unload(); }
  TDynamicLibrary(const TDynamicLibrary&) = delete;
  TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;

  const std::string& fileName() const { return fileName_; }
  // Naming another file unloads a module that is still loaded.
  void setFileName(const std::string& fileName);

  // Loads the named file; does nothing when already loaded. Throws
  // TLibraryError: NotLocated when the file does not exist,
  // FailedToInitialize when it exists but cannot be loaded.
  void load();
  bool isLoaded() const { return handle_ != nullptr; }

  // The address of an exported entry, or nullptr when the module has no
  // entry of that name. Throws TLibraryError (NotOpen) when nothing is loaded.
  void* lookup(const std::string& entryName) const;

  // Releases the module; harmless when nothing is loaded.
  void unload();

 private:
  std::string fileName_;
  void* handle_ = nullptr;
};

}  // namespace terraq::ui
