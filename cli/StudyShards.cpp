#include "StudyShards.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fstream>
#include <sstream>

#include "Sha256.h"
#include "SummaryOutput.h"
#include "project/JsonReader.h"
#include "project/JsonText.h"
#include "project/SequentialMember.h"

namespace terraq::cli {

namespace {

std::string ExactNumber(double v) {
  if (std::isnan(v)) return "\"nan\"";
  if (std::isinf(v)) return v > 0 ? "\"inf\"" : "\"-inf\"";
  return JsonNumber(v);
}

std::string StringList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t k = 0; k < items.size(); ++k) out += (k ? ", " : "") + JsonString(items[k]);
  return out + "]";
}

}  // namespace

std::string PartStudyJson(const SamplingStudy& s, const std::vector<std::string>& notes) {
  std::string out = "{\"dataFile\": " + JsonPath(s.dataFile) +
                    ", \"method\": " + JsonString(StudyMethodName(s.method)) +
                    ", \"samples\": " + std::to_string(s.samples) + ", \"seed\": \"" +
                    std::to_string(s.seed) + "\",\n  \"random\": [";
  for (size_t k = 0; k < s.random.size(); ++k)
    out += std::string(k ? ", " : "") + "{\"name\": " + JsonString(s.random[k].name) +
           ", \"distribution\": " + JsonString(s.random[k].text) + "}";
  out += "], \"correlations\": [";
  for (size_t k = 0; k < s.correlations.size(); ++k)
    out += std::string(k ? ", " : "") + "{\"first\": " + JsonString(s.correlations[k].first) +
           ", \"second\": " + JsonString(s.correlations[k].second) +
           ", \"value\": " + ExactNumber(s.correlations[k].value) + "}";
  out += "],\n  \"limits\": " + StringList(s.limits) + ", \"outputs\": " + StringList(s.outputs) +
         ",\n  \"unitsCode\": " + std::to_string(s.unitsCode) +
         ", \"notes\": " + StringList(notes) + "}";
  return out;
}

PartInputs InputsOf(std::string_view dataText, const design::SequentialPlan* sequence,
                    int unitsCode, const design::SoilModel& soil) {
  std::string data(dataText);
  // Samples on other springs are other samples, though the text is the same.
  if (soil.subgrade)
    for (const engine::api::SubgradeLayer& layer : soil.subgrade->layers)
      for (const engine::api::SubgradeParameter& p : engine::api::SubgradeParameters())
        data += "\n" + std::string(p.key) + " " + JsonNumber(layer.*p.value);
  PartInputs inputs{Sha256Hex(data), ""};
  if (sequence) {
    // The plan as the project file writes it: what the stages were built
    // from, whatever else the project file holds or however it is laid out.
    ui::ProjectFile canonical;
    ui::SetSequentialPlan(canonical, *sequence, unitsCode);
    inputs.sequence = Sha256Hex(ui::FormatJson(canonical.root));
  }
  return inputs;
}

void ShardSlice(size_t samples, size_t shard, size_t shards, size_t& first, size_t& count) {
  // floor(samples k / shards) without forming samples k, which may not fit.
  const auto at = [&](size_t k) { return samples / shards * k + samples % shards * k / shards; };
  first = at(shard - 1);
  count = at(shard) - first;
}

PartWriter::PartWriter(OutputFile& file) : file_(file) { file_.write("{\"samples\": [\n"); }

void PartWriter::sample(size_t index, const std::vector<double>& values,
                        const design::Evaluation& e, size_t outputs) {
  std::string line = first_ ? "[" : ",\n[";
  first_ = false;
  line += std::to_string(index);
  if (e.error || e.outputs.size() != outputs) {
    line += ", " + JsonString(e.error.value_or("no outputs")) + "]";
  } else {
    line += std::string(", ") + (e.held ? "true" : "false") + ", [";
    for (size_t k = 0; k < values.size(); ++k) line += (k ? ", " : "") + ExactNumber(values[k]);
    line += "], [";
    for (size_t k = 0; k < e.outputs.size(); ++k)
      line += (k ? ", " : "") + ExactNumber(e.outputs[k]);
    line += "]]";
  }
  file_.write(line);
}

void PartWriter::end(const SamplingStudy& study, const std::vector<std::string>& notes,
                     size_t shard, size_t shards, size_t first, size_t count,
                     const PartInputs& inputs) {
  file_.write("\n],\n \"part\": {\"format\": " + std::to_string(kPartFormat) +
              ", \"shard\": " + std::to_string(shard) + ", \"shards\": " + std::to_string(shards) +
              ", \"first\": " + std::to_string(first) + ", \"count\": " + std::to_string(count) +
              ",\n  \"dataSha256\": \"" + inputs.data + "\"" +
              (inputs.sequence.empty() ? "" : ", \"sequenceSha256\": \"" + inputs.sequence + "\"") +
              "},\n \"study\": " + PartStudyJson(study, notes) + "}\n");
}

}  // namespace terraq::cli
