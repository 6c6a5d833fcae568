#include "EngineRoute.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace terraq::engine {
namespace {

std::atomic<const api::EngineEntries*> inUse{nullptr};
std::atomic<EngineLoader> loader{nullptr};

// Why no engine is in use, once the loader has answered without one.
std::mutex loadMutex;
bool loaderAsked = false;
std::string loadError;

// The engine in use, loaded at the first need; nullptr with the reason.
const api::EngineEntries* Engine(std::string& why) {
  if (const api::EngineEntries* entries = inUse.load(std::memory_order_acquire)) return entries;
  std::lock_guard lock(loadMutex);
  if (const api::EngineEntries* entries = inUse.load(std::memory_order_acquire)) return entries;
  if (!loaderAsked) {
    loaderAsked = true;
    const EngineLoader load = loader.load();
    const api::EngineEntries* entries = nullptr;
    if (load) entries = load(loadError);
    else loadError = "the analysis engine is not available to this program";
    if (entries && entries->version != api::kEngineEntriesVersion) {
      loadError = "the analysis engine library is of another version than the program";
      entries = nullptr;
    }
    if (entries) {
      inUse.store(entries, std::memory_order_release);
      return entries;
    }
  }
  why = loadError;
  return nullptr;
}

api::AnalysisResult Unavailable(std::string why) {
  api::AnalysisResult result;
  result.error = api::AnalysisError{api::AnalysisError::Kind::Stop, std::move(why), 0};
  return result;
}

}  // namespace

bool EngineAvailable(std::string& why) { return Engine(why) != nullptr; }

void UseEngine(const api::EngineEntries* entries) {
  inUse.store(entries, std::memory_order_release);
}

void UseEngineLoader(EngineLoader load) { loader.store(load); }

api::AnalysisResult Analyse(std::string_view dataText,
                            const api::AnalysisOptions& options) noexcept {
  std::string why;
  const api::EngineEntries* engine = Engine(why);
  if (!engine) return Unavailable(std::move(why));
  api::AnalysisResult result;
  engine->analyse(dataText.data(), dataText.size(), &options, &result);
  return result;
}

api::SoilDescriptions ReadSoilDescriptions(std::string_view dataText) noexcept {
  std::string why;
  api::SoilDescriptions soil;
  const api::EngineEntries* engine = Engine(why);
  if (!engine) soil.error = api::AnalysisError{api::AnalysisError::Kind::Stop, std::move(why), 0};
  else engine->readSoilDescriptions(dataText.data(), dataText.size(), &soil);
  return soil;
}

api::SidePressure PressureAt(const api::SoilDescription& soil, api::Side side, double depth,
                             double strengthFactor) {
  api::SidePressure pressure;
  std::string why;
  if (const api::EngineEntries* engine = Engine(why))
    engine->pressureAt(&soil, side, depth, strengthFactor, &pressure);
  return pressure;
}

Analyser::~Analyser() {
  if (handle_) entries_->deleteAnalyser(handle_);
}

api::AnalysisResult Analyser::analyse(std::string_view dataText,
                                      const api::AnalysisOptions& options) noexcept {
  if (!handle_) {
    std::string why;
    const api::EngineEntries* engine = Engine(why);
    if (!engine) return Unavailable(std::move(why));
    handle_ = engine->newAnalyser();
    if (!handle_) return Unavailable("no memory for the analysis engine's working storage");
    entries_ = engine;
  }
  api::AnalysisResult result;
  entries_->analyserAnalyse(handle_, dataText.data(), dataText.size(), &options, &result);
  return result;
}

}  // namespace terraq::engine
