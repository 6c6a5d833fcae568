#include "EngineLibrary.h"

#include <map>
#include <memory>
#include <mutex>

#include "api/EngineRoute.h"
#include "platform/InstallPaths.h"
#include "platform/TDynamicLibrary.h"

namespace fs = std::filesystem;

namespace terraq::ui {

fs::path DefaultEngineLibrary() {
  const std::vector<fs::path> folders = LibraryFolders(ExecutableFolder());
  const fs::path found = FindIn(folders, kEngineLibraryName);
  // Missing everywhere: name the place beside the program, where a build
  // puts it, so that the loader's message points there.
  return found.empty() ? folders.front() / kEngineLibraryName : found;
}

void* EngineLibrarySymbol(const fs::path& library, const char* name, std::string& error) {
  static std::mutex mutex;
  // Never destroyed (EngineLibrary.h says why); held, not dropped, so that
  // leak checkers see the libraries as kept rather than lost.
  static auto* loaded = new std::map<fs::path, std::unique_ptr<TDynamicLibrary>>;
  std::lock_guard lock(mutex);
  auto found = loaded->find(library);
  if (found == loaded->end()) {
    auto engine = std::make_unique<TDynamicLibrary>(library.string());
    try {
      engine->load();
    } catch (const TLibraryError& e) {
      error = std::string(e.what()) + ": " + library.string();
      if (e.kind() == TLibraryError::Kind::FailedToInitialize && !e.detail().empty())
        error += " (" + e.detail() + ")";
      return nullptr;
    }
    found = loaded->emplace(library, std::move(engine)).first;
  }
  void* symbol = found->second->lookup(name);
  if (!symbol) error = "the engine library " + library.string() + " has no entry " + name;
  return symbol;
}

namespace {

// The whole analysis of the program's engine library, for the designs,
// studies and the package (engine::UseEngineLoader).
const engine::api::EngineEntries* LoadEngineEntries(std::string& error) {
  const auto entries = reinterpret_cast<engine::api::EngineEntriesEntry>(
      EngineLibrarySymbol(DefaultEngineLibrary(), engine::api::kEngineEntriesName, error));
  return entries ? entries() : nullptr;
}

}  // namespace

void AnalyseWithTheLoadedEngine() { engine::UseEngineLoader(&LoadEngineEntries); }

}  // namespace terraq::ui
