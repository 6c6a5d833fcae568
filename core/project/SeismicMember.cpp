#include "project/SeismicMember.h"

#include "Parameters.h"
#include "SeismicFace.h"

namespace terraq::ui {

namespace {

namespace api = engine::api;

const std::string kWhich = "the project's seismic coefficients";

std::string MethodKeys() {
  std::string keys;
  for (const api::SeismicMethodInfo& m : api::SeismicMethods())
    keys += std::string(keys.empty() ? "\"" : ", \"") + std::string(m.key) + "\"";
  return keys;
}

}  // namespace

std::optional<api::SeismicOptions> ReadSeismic(const ProjectFile& project, std::string& error) {
  error.clear();
  const JsonValue* member = project.find(kSeismicMember);
  if (!member || member->type == JsonValue::Type::Null) return std::nullopt;
  if (!member->isObject()) {
    error = kWhich + " is not an object";
    return std::nullopt;
  }
  if (!OnlyKnownKeys(*member, {"method", "kh", "kv"}, kWhich, error)) return std::nullopt;
  api::SeismicOptions options;
  if (const JsonValue* method = member->find("method")) {
    const api::SeismicMethodInfo* named =
        method->isString() ? api::FindSeismicMethod(method->string) : nullptr;
    if (!named) {
      error = kWhich + ": \"method\" must be one of " + MethodKeys();
      return std::nullopt;
    }
    options.method = named->method;
  }
  for (const auto& [key, value] : {std::pair{"kh", &options.kh}, std::pair{"kv", &options.kv}}) {
    const JsonValue* item = member->find(key);
    if (!item) continue;
    if (!item->isNumber()) {
      error = kWhich + ": \"" + key + "\" must be a number";
      return std::nullopt;
    }
    *value = item->number;
  }
  if (const std::string fault = design::SeismicCoefficientsFault(options.kh, options.kv);
      !fault.empty()) {
    error = kWhich + ": " + fault;
    return std::nullopt;
  }
  return options;
}

void SetSeismic(ProjectFile& project, const api::SeismicOptions& options) {
  JsonValue member = JsonValue::Object();
  member.set("method", JsonValue::Text(std::string(api::SeismicMethodOf(options.method).key)));
  member.set("kh", JsonValue::Number(options.kh));
  member.set("kv", JsonValue::Number(options.kv));
  project.set(kSeismicMember, std::move(member));
}

bool SaveProjectSeismic(const std::filesystem::path& dataFile,
                        const std::optional<api::SeismicOptions>& options, std::string& error) {
  return SaveProjectMember(
      dataFile, kSeismicMember, options.has_value(),
      [&](ProjectFile& project) { SetSeismic(project, *options); },
      "the seismic coefficients are not saved", error);
}

std::string SeismicWords(const std::optional<api::SeismicOptions>& options) {
  return options ? design::SeismicWords(*options) : std::string();
}

}  // namespace terraq::ui
