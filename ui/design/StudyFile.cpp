#include "design/StudyFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "project/StudyUnits.h"

namespace terraq::ui {

namespace {

// The number or the text at `key` of `o`; `absent` or empty without one.
double NumberAt(const JsonValue& o, std::string_view key, double absent) {
  const JsonValue* v = o.find(key);
  return v && v->isNumber() ? v->number : absent;
}

std::string TextAt(const JsonValue& o, std::string_view key) {
  const JsonValue* v = o.find(key);
  return v ? v->string : std::string();
}

// Whether the study object `s` and its lists hold only the keys a study
// has; why not in `error`.
bool OnlyKnownStudyKeys(const JsonValue& s, QString& error) {
  // A misspelt key would otherwise read as the default it stands beside.
  std::string unknown;
  bool known = s.isObject() && OnlyKnownKeys(s,
                                             {"mode", "vary", "output", "random", "method",
                                              "samples", "seed", "limits", "units"},
                                             "its study", unknown);
  const auto onlyKnown = [&](const char* list, const std::vector<std::string_view>& keys) {
    if (const JsonValue* items = s.find(list); known && items)
      for (const JsonValue& item : items->items)
        known = known && item.isObject() &&
                OnlyKnownKeys(item, keys, std::string("its study's \"") + list + "\"", unknown);
  };
  onlyKnown("vary", {"name", "from", "to", "count"});
  onlyKnown("random", {"name", "distribution", "values"});
  if (!known)
    error = unknown.empty() ? QStringLiteral("its study is not a JSON object of a study")
                            : QString::fromStdString(unknown);
  return known;
}

// The ranges of a sweep, two at the most; why not in `error`.
bool ReadRanges(const JsonValue& s, StudyDefinition& d, QString& error) {
  if (const JsonValue* vary = s.find("vary")) {
    for (const JsonValue& r : vary->items) {
      const JsonValue* name = r.find("name");
      const JsonValue* from = r.find("from");
      const JsonValue* to = r.find("to");
      const double count = NumberAt(r, "count", -1);
      if (!name || !name->isString() || !from || !from->isNumber() || !to || !to->isNumber() ||
          count < 2 || count > 100000 || count != std::floor(count)) {
        error = QStringLiteral("a range of its study is not {name, from, to, count >= 2}");
        return false;
      }
      d.vary.push_back({name->string, from->number, to->number, static_cast<int>(count)});
    }
  }
  if (d.vary.size() > 2) {
    error = QStringLiteral("its study varies more than two parameters");
    return false;
  }
  return true;
}

// The study object `s`; why not in `error`.
std::optional<StudyDefinition> ReadStudy(const JsonValue& s, QString& error) {
  StudyDefinition d;
  if (!OnlyKnownStudyKeys(s, error)) return std::nullopt;
  const JsonValue* mode = s.find("mode");
  if (!mode || (mode->string != "sweep" && mode->string != "probabilistic")) {
    error = QStringLiteral("its study has no mode \"sweep\" or \"probabilistic\"");
    return std::nullopt;
  }
  d.probabilistic = mode->string == "probabilistic";
  if (!ReadRanges(s, d, error)) return std::nullopt;
  if (s.find("output")) d.output = TextAt(s, "output");
  if (const JsonValue* random = s.find("random"))
    for (const JsonValue& r : random->items)
      d.random.push_back({TextAt(r, "name"), TextAt(r, "distribution"), TextAt(r, "values")});
  if (s.find("method")) d.method = TextAt(s, "method");
  if (d.method != "mc" && d.method != "lhs" && d.method != "form") {
    error = QStringLiteral("its study's method is not mc, lhs or form");
    return std::nullopt;
  }
  const double samples = NumberAt(s, "samples", 1000);
  const double seed = NumberAt(s, "seed", 1);
  if (samples < 1 || samples > 1e9 || seed < 0 || seed > 9007199254740991.0 ||
      seed != std::floor(seed) || samples != std::floor(samples)) {
    error = QStringLiteral("its study's samples or seed is out of range");
    return std::nullopt;
  }
  d.samples = static_cast<std::uint64_t>(samples);
  d.seed = static_cast<std::uint64_t>(seed);
  if (const JsonValue* limits = s.find("limits"))
    for (const JsonValue& v : limits->items) d.limits.push_back(v.string);
  if (const JsonValue* units = s.find("units")) {
    const JsonValue* code = units->isObject() ? units->find("code") : nullptr;
    if (!code || !code->isNumber() ||
        (code->number != 1 && code->number != 2 && code->number != 3)) {
      error = QStringLiteral("its study's \"units\" is not {\"code\": 1, 2 or 3}");
      return std::nullopt;
    }
    d.units = static_cast<int>(code->number);
  }
  return d;
}

// The study object `s` (with whatever members it has that the window does
// not know) holding `d`.
JsonValue StudyObject(JsonValue s, const StudyDefinition& d) {
  s.set("mode", JsonValue::Text(d.probabilistic ? "probabilistic" : "sweep"));
  JsonValue vary = JsonValue::Array();
  for (const auto& r : d.vary) {
    JsonValue range = JsonValue::Object();
    range.set("name", JsonValue::Text(r.name));
    range.set("from", JsonValue::Number(r.from));
    range.set("to", JsonValue::Number(r.to));
    range.set("count", JsonValue::Number(r.count));
    vary.items.push_back(std::move(range));
  }
  s.set("vary", std::move(vary));
  s.set("output", JsonValue::Text(d.output));
  JsonValue random = JsonValue::Array();
  for (const auto& r : d.random) {
    JsonValue item = JsonValue::Object();
    item.set("name", JsonValue::Text(r.name));
    item.set("distribution", JsonValue::Text(r.distribution));
    item.set("values", JsonValue::Text(r.values));
    random.items.push_back(std::move(item));
  }
  s.set("random", std::move(random));
  s.set("method", JsonValue::Text(d.method));
  s.set("samples", JsonValue::Number(static_cast<double>(d.samples)));
  s.set("seed", JsonValue::Number(static_cast<double>(d.seed)));
  JsonValue limits = JsonValue::Array();
  for (const auto& l : d.limits) limits.items.push_back(JsonValue::Text(l));
  s.set("limits", std::move(limits));
  if (d.units != 0) {
    JsonValue units = JsonValue::Object();
    units.set("code", JsonValue::Number(d.units));
    s.set("units", std::move(units));
  }
  return s;
}

std::filesystem::path LocalPath(const QString& path) {
  return std::filesystem::path(QFile::encodeName(path).toStdString());
}

}  // namespace

bool StudyDefinition::operator==(const StudyDefinition& o) const {
  auto sameRange = [](const Range& a, const Range& b) {
    return a.name == b.name && a.from == b.from && a.to == b.to && a.count == b.count;
  };
  auto sameRandom = [](const Random& a, const Random& b) {
    return a.name == b.name && a.distribution == b.distribution && a.values == b.values;
  };
  return probabilistic == o.probabilistic &&
         std::equal(vary.begin(), vary.end(), o.vary.begin(), o.vary.end(), sameRange) &&
         output == o.output &&
         std::equal(random.begin(), random.end(), o.random.begin(), o.random.end(), sameRandom) &&
         method == o.method && samples == o.samples && seed == o.seed && limits == o.limits;
}

StudyDefinition StudyInUnits(StudyDefinition d, int to) {
  const int from = d.units;
  d.units = to;
  if (from == 0 || from == to) return d;
  const auto number = [](double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return std::string(text);
  };
  for (StudyDefinition::Range& r : d.vary) {
    const double f = StudyValueFactor(r.name, false, from, to);
    r.from *= f;
    r.to *= f;
  }
  // "MEAN, SD", "MEAN, cov=0.1", "LOW, HIGH", ...: each plain number scales.
  for (StudyDefinition::Random& r : d.random) {
    const double f = StudyValueFactor(r.name, false, from, to);
    std::string values;
    std::istringstream tokens(r.values);
    for (std::string token; std::getline(tokens, token, ',');) {
      const size_t first = token.find_first_not_of(' '), last = token.find_last_not_of(' ');
      token = first == std::string::npos ? std::string() : token.substr(first, last - first + 1);
      char* end = nullptr;
      const double v = std::strtod(token.c_str(), &end);
      const bool plain = !token.empty() && end == token.c_str() + token.size();
      values += (values.empty() ? "" : ", ") + (plain ? number(v * f) : token);
    }
    r.values = values;
  }
  for (std::string& limit : d.limits) {
    const size_t op = limit.find_first_of("<>");
    if (op == std::string::npos) continue;  // not-held
    const size_t at = limit.size() > op + 1 && limit[op + 1] == '=' ? op + 2 : op + 1;
    char* end = nullptr;
    const double v = std::strtod(limit.c_str() + at, &end);
    if (end == limit.c_str() + at) continue;
    limit = limit.substr(0, at) +
            number(v * StudyValueFactor(limit.substr(0, op), true, from, to)) + std::string(end);
  }
  return d;
}

QString StudyFilePath(const QString& dataFile) {
  const QFileInfo info(dataFile);
  return info.dir().filePath(info.completeBaseName() + QStringLiteral(".terraq.json"));
}

std::optional<StudyFile> ReadStudyFile(const QString& path, QString& error) {
  std::string why;
  std::optional<ProjectFile> project = ReadProjectFile(LocalPath(path), why);
  if (!project) {
    error = QString::fromStdString(why);
    return std::nullopt;
  }
  StudyFile file{std::move(*project), std::nullopt};
  const JsonValue* studies = file.project.find("studies");
  if (studies && !studies->isArray()) {
    error = QStringLiteral("its \"studies\" is not a list");
    return std::nullopt;
  }
  if (studies && !studies->items.empty()) {
    file.study = ReadStudy(studies->items.front(), error);
    if (!file.study) return std::nullopt;
  }
  return file;
}

bool WriteStudyFile(const QString& path, StudyFile& file, const StudyDefinition& study,
                    QString& error) {
  // The file as it is now, read again under its lock, not as `file` holds
  // it: another part's save since then must be kept.
  ProjectFile written;
  std::string why;
  const bool saved = UpdateProjectFile(
      LocalPath(path),
      [&](ProjectFile& project) {
        const JsonValue* old = project.find("studies");
        JsonValue studies = old && old->isArray() ? *old : JsonValue::Array();
        if (studies.items.empty()) studies.items.push_back(StudyObject(JsonValue::Object(), study));
        else studies.items.front() = StudyObject(studies.items.front(), study);
        project.set("studies", std::move(studies));
        written = project;
        return true;
      },
      "the study is not saved", why);
  if (!saved) {
    error = QString::fromStdString(why);
    return false;
  }
  file.project = std::move(written);
  file.study = study;
  return true;
}

}  // namespace terraq::ui
