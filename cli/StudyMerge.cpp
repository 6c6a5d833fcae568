// The merge of a sampling study's part files (StudyShards.h): each part
// read and checked, the parts checked to make one study, their samples
// gathered in order.

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "StudyShards.h"
#include "project/JsonReader.h"

namespace terraq::cli {

using ui::JsonItem;
using ui::JsonValue;
using ui::ParseJsonStreamed;

namespace {

// A part file larger than this is refused rather than read into memory.
constexpr std::uintmax_t kMaxPartBytes = std::uintmax_t(4) << 30;

std::optional<double> ReadExact(const JsonValue& v) {
  if (v.isNumber()) return v.number;
  if (v.isString() && v.string == "nan") return NAN;
  if (v.isString() && v.string == "inf") return INFINITY;
  if (v.isString() && v.string == "-inf") return -INFINITY;
  return std::nullopt;
}

bool Whole(const JsonValue* v, size_t& out) {
  if (!v || !v->isNumber() || v->number < 0 || v->number > 9.0e15 ||
      v->number != std::floor(v->number))
    return false;
  out = static_cast<size_t>(v->number);
  return true;
}

bool Strings(const JsonValue* v, std::vector<std::string>& out) {
  if (!v || !v->isArray()) return false;
  for (const JsonValue& item : v->items) {
    if (!item.isString()) return false;
    out.push_back(item.string);
  }
  return true;
}

// The study of a part, checked; false when a member is missing or wrong.
bool ReadStudy(const JsonValue& j, SamplingStudy& s, std::vector<std::string>& notes,
               std::string& error) {
  const JsonValue* method = j.find("method");
  const JsonValue* file = j.find("dataFile");
  size_t unitsCode = 0;
  // The seed is kept as its digits: it may exceed a double's exact range.
  std::uint64_t seed = 0;
  const JsonValue* seedValue = j.find("seed");
  if (!file || !file->isString() || !method || !method->isString() ||
      !Whole(j.find("samples"), s.samples) || s.samples == 0 || !seedValue ||
      !seedValue->isString() ||
      std::from_chars(seedValue->string.data(), seedValue->string.data() + seedValue->string.size(),
                      seed)
              .ptr != seedValue->string.data() + seedValue->string.size() ||
      seedValue->string.empty() || !Strings(j.find("limits"), s.limits) ||
      !Strings(j.find("outputs"), s.outputs) || !Whole(j.find("unitsCode"), unitsCode) ||
      !Strings(j.find("notes"), notes))
    return false;
  s.dataFile = file->string;
  s.seed = seed;
  s.unitsCode = static_cast<int>(unitsCode);
  if (method->string == "mc") s.method = StudyMethod::MonteCarlo;
  else if (method->string == "lhs") s.method = StudyMethod::LatinHypercube;
  else return false;
  const JsonValue* random = j.find("random");
  if (!random || !random->isArray() || random->items.empty()) return false;
  for (const JsonValue& r : random->items) {
    const JsonValue* name = r.find("name");
    const JsonValue* text = r.find("distribution");
    if (!name || !name->isString() || !text || !text->isString()) return false;
    std::optional<design::Distribution> d = design::Distribution::Parse(text->string, error);
    if (!d) return false;
    s.random.push_back({name->string, text->string, *d});
  }
  const JsonValue* correlations = j.find("correlations");
  if (!correlations || !correlations->isArray()) return false;
  for (const JsonValue& c : correlations->items) {
    const JsonValue* a = c.find("first");
    const JsonValue* b = c.find("second");
    const JsonValue* v = c.find("value");
    if (!a || !a->isString() || !b || !b->isString() || !v || !ReadExact(*v)) return false;
    s.correlations.push_back({a->string, b->string, *ReadExact(*v)});
  }
  return true;
}

struct Part {
  std::string file;
  SamplingStudy study;
  std::vector<std::string> notes;
  std::string key;  // StudyJson of the study
  size_t shard = 0, shards = 0, first = 0, count = 0;
  std::optional<PartInputs> inputs;  // none in a part written before they were recorded
  std::string name() const {
    return file + " (shard " + std::to_string(shard) + "/" + std::to_string(shards) + ")";
  }
};

// The digests of a part's head; false when they are there but malformed.
bool ReadInputs(const JsonValue& head, std::optional<PartInputs>& inputs) {
  const auto digest = [](const JsonValue* v) {
    return v && v->isString() && v->string.size() == 64 &&
           v->string.find_first_not_of("0123456789abcdef") == std::string::npos;
  };
  const JsonValue* data = head.find("dataSha256");
  const JsonValue* sequence = head.find("sequenceSha256");
  if (!data) return !sequence;
  if (!digest(data) || (sequence && !digest(sequence))) return false;
  inputs = PartInputs{data->string, sequence ? sequence->string : ""};
  return true;
}

// Why parts `a` and `b` cannot be merged for their inputs; nullopt when
// their digests agree (or one has none to compare).
std::optional<std::string> DifferentInputs(const Part& a, const Part& b) {
  if (!a.inputs || !b.inputs) return std::nullopt;
  const auto both = [&](const std::string& x, const std::string& y) {
    return " (SHA-256 " + (x.empty() ? std::string("none") : x.substr(0, 12)) + "... and " +
           (y.empty() ? std::string("none") : y.substr(0, 12)) + "...)";
  };
  const std::string parts = a.name() + " and " + b.name() + " were computed from ";
  if (a.inputs->data != b.inputs->data)
    return parts + "different contents of the data file " + a.study.dataFile +
           both(a.inputs->data, b.inputs->data) +
           ": it was changed while the shards ran; run every shard again from one version of it";
  if (a.inputs->sequence != b.inputs->sequence)
    return parts + "different construction sequences of the project of " + a.study.dataFile +
           both(a.inputs->sequence, b.inputs->sequence) +
           ": the project file was changed while the shards ran; run every shard again from one "
           "version of it";
  return std::nullopt;
}

// Reads and checks a part, its samples handed to `sample` one at a time
// (they are not kept: a part of any size is read in the memory of one).
std::optional<std::string> ReadPart(const std::string& file, Part& part, const JsonItem& sample) {
  part.file = file;
  std::error_code ec;
  // A pipe would be waited on for ever, a device read without end.
  if (const auto status = std::filesystem::status(file, ec);
      std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
    return "cannot read the part file " + file + ": it is not a regular file";
  if (const auto size = std::filesystem::file_size(file, ec); !ec && size > kMaxPartBytes)
    return file + " is too large to be a part file";
  std::ifstream in(file, std::ios::binary);
  std::stringstream buffer;
  if (in) buffer << in.rdbuf();
  if (!in || in.bad())
    return "cannot read the part file " + file + ": " + std::strerror(errno ? errno : EACCES);
  std::string error;
  size_t samples = 0;
  const std::optional<JsonValue> json = ParseJsonStreamed(
      buffer.str(), "samples",
      [&](const JsonValue& item, std::string& why) {
        ++samples;
        return sample(item, why);
      },
      error);
  if (!json) return file + " is not a part file of a study: " + error;
  const JsonValue* head = json->find("part");
  const JsonValue* study = json->find("study");
  const JsonValue* list = json->find("samples");
  size_t format = 0;
  if (!head || !study || !list || !list->isArray() || !Whole(head->find("format"), format) ||
      format != kPartFormat || !Whole(head->find("shard"), part.shard) ||
      !Whole(head->find("shards"), part.shards) || !Whole(head->find("first"), part.first) ||
      !Whole(head->find("count"), part.count) ||
      !ReadStudy(*study, part.study, part.notes, error) || !ReadInputs(*head, part.inputs) ||
      part.shard < 1 || part.shard > part.shards || part.shards > part.study.samples)
    return file + " is not a part file of a study (written by terraq study --shard)";
  size_t first = 0, count = 0;
  ShardSlice(part.study.samples, part.shard, part.shards, first, count);
  if (first != part.first || count != part.count || samples != count)
    return file + " is not a whole part file: its samples are not those of shard " +
           std::to_string(part.shard) + "/" + std::to_string(part.shards);
  part.key = PartStudyJson(part.study, part.notes);
  return std::nullopt;
}

// One sample of a part back as its evaluation; false when it is not one.
bool ReadSample(const JsonValue& j, size_t expected, size_t parameters, size_t outputs,
                std::vector<double>& values, design::Evaluation& e) {
  size_t index = 0;
  if (!j.isArray() || j.items.empty() || !Whole(&j.items[0], index) || index != expected)
    return false;
  values.clear();
  e = design::Evaluation{};
  if (j.items.size() == 2 && j.items[1].isString()) {
    e.error = j.items[1].string;
    e.held = false;
    return true;
  }
  if (j.items.size() != 4 || j.items[1].type != JsonValue::Type::Bool || !j.items[2].isArray() ||
      !j.items[3].isArray() || j.items[2].items.size() != parameters ||
      j.items[3].items.size() != outputs)
    return false;
  e.held = j.items[1].boolean;
  for (const JsonValue& v : j.items[2].items) {
    const std::optional<double> x = ReadExact(v);
    if (!x) return false;
    values.push_back(*x);
  }
  for (const JsonValue& v : j.items[3].items) {
    const std::optional<double> y = ReadExact(v);
    if (!y) return false;
    e.outputs.push_back(*y);
  }
  return true;
}

// Whether the parts make one study: one seed and definition, the same
// inputs where they record them, every shard once. Fills `byShard`; the
// refusal, or nullopt with a warning for parts whose inputs cannot be
// checked.
std::optional<std::string> OneStudy(const std::vector<Part>& parts,
                                    std::map<size_t, const Part*>& byShard,
                                    std::vector<std::string>& warnings) {
  const Part& one = parts.front();
  const Part* checked = nullptr;  // the first part with digests, the others' reference
  std::string unchecked;
  size_t uncheckedCount = 0;
  for (const Part& p : parts)
    if (p.inputs && !checked) checked = &p;
    else if (!p.inputs) unchecked += (uncheckedCount++ ? ", " : "") + p.file;
  for (const Part& p : parts) {
    if (p.study.seed != one.study.seed)
      return p.file + " has seed " + std::to_string(p.study.seed) + " and " + one.file + " seed " +
             std::to_string(one.study.seed) + ": they are not parts of one study";
    if (p.shards != one.shards || p.key != one.key)
      return p.file + " and " + one.file + " are parts of different studies";
    if (checked)
      if (std::optional<std::string> why = DifferentInputs(*checked, p)) return why;
    if (const auto [at, added] = byShard.emplace(p.shard, &p); !added)
      return "shard " + std::to_string(p.shard) + "/" + std::to_string(p.shards) +
             " is given twice: " + at->second->file + " and " + p.file;
  }
  for (size_t s = 1; s <= one.shards; ++s)
    if (!byShard.count(s))
      return "shard " + std::to_string(s) + "/" + std::to_string(one.shards) +
             " is missing: the study needs all " + std::to_string(one.shards) + " parts";
  if (uncheckedCount)
    warnings.push_back(
        unchecked +
        (uncheckedCount == 1 ? " records no digest of its" : " record no digest of their") +
        " inputs (written by an earlier terraq): that every part was computed from the same data "
        "file and construction sequence is not checked");
  return std::nullopt;
}

}  // namespace

MergeResult MergeParts(const std::vector<std::string>& files) {
  MergeResult merge;
  // Read twice: first the definitions, to refuse parts that do not make
  // one study before anything is gathered; then the samples, in order.
  std::vector<Part> parts(files.size());
  const JsonItem count = [](const JsonValue&, std::string&) { return true; };
  for (size_t k = 0; k < files.size(); ++k)
    if (std::optional<std::string> why = ReadPart(files[k], parts[k], count)) {
      merge.error = *why;
      return merge;
    }
  std::map<size_t, const Part*> byShard;
  if (std::optional<std::string> why = OneStudy(parts, byShard, merge.warnings)) {
    merge.error = *why;
    return merge;
  }
  const Part& one = parts.front();
  merge.study = one.study;
  std::vector<design::LimitState> limits;
  for (const std::string& text : one.study.limits) {
    std::string error;
    std::optional<design::LimitState> limit = ParseLimit(text, one.study.outputs, error);
    if (!limit) {
      merge.error = one.file + ": " + error;
      return merge;
    }
    limits.push_back(*limit);
  }
  design::SampleGatherer gatherer(one.study.outputs, one.study.random.size(), limits,
                                  design::SamplingOptions{}.histogramBins);
  std::vector<double> values;
  design::Evaluation e;
  for (const auto& entry : byShard) {
    // Named apart: a lambda may not capture a structured binding before C++20.
    const size_t shard = entry.first;
    const Part* header = entry.second;
    size_t index = header->first;
    const JsonItem gather = [&](const JsonValue& item, std::string& why) {
      if (index >= header->first + header->count ||
          !ReadSample(item, index, one.study.random.size(), one.study.outputs.size(), values, e)) {
        why = header->file + ": sample " + std::to_string(index + 1) + " is not one of a part file";
        return false;
      }
      gatherer.add(index++, values, e);
      return true;
    };
    Part again;
    if (std::optional<std::string> why = ReadPart(header->file, again, gather)) {
      merge.error = *why;
      return merge;
    }
    const auto digests = [](const Part& p) {
      return p.inputs ? p.inputs->data + p.inputs->sequence : std::string();
    };
    if (again.key != one.key || again.shard != shard || again.first != header->first ||
        digests(again) != digests(*header)) {
      merge.error = again.file + " changed while the parts were merged";
      return merge;
    }
  }
  merge.result = gatherer.result();
  merge.result.notes = one.notes;
  return merge;
}

}  // namespace terraq::cli
