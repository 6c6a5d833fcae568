#include "design/StudyFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <algorithm>
#include <cmath>

#include "project/AtomicFile.h"

namespace terraq::ui {

namespace {

const QString kFormat = QStringLiteral("terraq-project");
constexpr qint64 kLargestFile = 16 << 20;  // a study is a few hundred bytes

std::string Text(const QJsonValue& v) { return v.toString().toStdString(); }

// The study object `s`; why not in `error`.
std::optional<StudyDefinition> ReadStudy(const QJsonObject& s, QString& error) {
  StudyDefinition d;
  const QString mode = s.value(QStringLiteral("mode")).toString();
  if (mode != QStringLiteral("sweep") && mode != QStringLiteral("probabilistic")) {
    error = QStringLiteral("its study has no mode \"sweep\" or \"probabilistic\"");
    return std::nullopt;
  }
  d.probabilistic = mode == QStringLiteral("probabilistic");
  for (const QJsonValue& v : s.value(QStringLiteral("vary")).toArray()) {
    const QJsonObject r = v.toObject();
    const double count = r.value(QStringLiteral("count")).toDouble(-1);
    if (!r.value(QStringLiteral("name")).isString() ||
        !r.value(QStringLiteral("from")).isDouble() || !r.value(QStringLiteral("to")).isDouble() ||
        count < 2 || count > 100000 || count != std::floor(count)) {
      error = QStringLiteral("a range of its study is not {name, from, to, count >= 2}");
      return std::nullopt;
    }
    d.vary.push_back({Text(r.value(QStringLiteral("name"))),
                      r.value(QStringLiteral("from")).toDouble(),
                      r.value(QStringLiteral("to")).toDouble(), static_cast<int>(count)});
  }
  if (d.vary.size() > 2) {
    error = QStringLiteral("its study varies more than two parameters");
    return std::nullopt;
  }
  if (s.contains(QStringLiteral("output"))) d.output = Text(s.value(QStringLiteral("output")));
  for (const QJsonValue& v : s.value(QStringLiteral("random")).toArray()) {
    const QJsonObject r = v.toObject();
    d.random.push_back({Text(r.value(QStringLiteral("name"))),
                        Text(r.value(QStringLiteral("distribution"))),
                        Text(r.value(QStringLiteral("values")))});
  }
  if (s.contains(QStringLiteral("method"))) d.method = Text(s.value(QStringLiteral("method")));
  if (d.method != "mc" && d.method != "lhs" && d.method != "form") {
    error = QStringLiteral("its study's method is not mc, lhs or form");
    return std::nullopt;
  }
  const double samples = s.value(QStringLiteral("samples")).toDouble(1000);
  const double seed = s.value(QStringLiteral("seed")).toDouble(1);
  if (samples < 1 || samples > 1e9 || seed < 0 || seed > 9007199254740991.0 ||
      seed != std::floor(seed) || samples != std::floor(samples)) {
    error = QStringLiteral("its study's samples or seed is out of range");
    return std::nullopt;
  }
  d.samples = static_cast<std::uint64_t>(samples);
  d.seed = static_cast<std::uint64_t>(seed);
  for (const QJsonValue& v : s.value(QStringLiteral("limits")).toArray())
    d.limits.push_back(Text(v));
  return d;
}

QJsonObject StudyObject(QJsonObject s, const StudyDefinition& d) {
  s.insert(QStringLiteral("mode"),
           d.probabilistic ? QStringLiteral("probabilistic") : QStringLiteral("sweep"));
  QJsonArray vary;
  for (const auto& r : d.vary)
    vary.append(QJsonObject{{QStringLiteral("name"), QString::fromStdString(r.name)},
                            {QStringLiteral("from"), r.from},
                            {QStringLiteral("to"), r.to},
                            {QStringLiteral("count"), r.count}});
  s.insert(QStringLiteral("vary"), vary);
  s.insert(QStringLiteral("output"), QString::fromStdString(d.output));
  QJsonArray random;
  for (const auto& r : d.random)
    random.append(
        QJsonObject{{QStringLiteral("name"), QString::fromStdString(r.name)},
                    {QStringLiteral("distribution"), QString::fromStdString(r.distribution)},
                    {QStringLiteral("values"), QString::fromStdString(r.values)}});
  s.insert(QStringLiteral("random"), random);
  s.insert(QStringLiteral("method"), QString::fromStdString(d.method));
  s.insert(QStringLiteral("samples"), static_cast<double>(d.samples));
  s.insert(QStringLiteral("seed"), static_cast<double>(d.seed));
  QJsonArray limits;
  for (const auto& l : d.limits) limits.append(QString::fromStdString(l));
  s.insert(QStringLiteral("limits"), limits);
  return s;
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

QString StudyFilePath(const QString& dataFile) {
  const QFileInfo info(dataFile);
  return info.dir().filePath(info.completeBaseName() + QStringLiteral(".terraq.json"));
}

std::optional<StudyFile> ReadStudyFile(const QString& path, QString& error) {
  StudyFile file;
  QFile in(path);
  if (!in.exists()) return file;
  if (!in.open(QIODevice::ReadOnly)) {
    error = in.errorString();
    return std::nullopt;
  }
  if (in.size() > kLargestFile) {
    error = QStringLiteral("it is larger than a study file can be");
    return std::nullopt;
  }
  QJsonParseError parse;
  const QJsonDocument doc = QJsonDocument::fromJson(in.readAll(), &parse);
  if (parse.error != QJsonParseError::NoError) {
    error = QStringLiteral("it is not JSON (at byte %1: %2)")
                .arg(parse.offset)
                .arg(parse.errorString());
    return std::nullopt;
  }
  file.root = doc.object();
  if (!doc.isObject() || file.root.value(QStringLiteral("format")).toString() != kFormat) {
    error = QStringLiteral("it is not a TERRAQ project file (no \"format\": \"%1\")").arg(kFormat);
    return std::nullopt;
  }
  if (file.root.value(QStringLiteral("version")).toDouble() != 1) {
    error = QStringLiteral("its version is not 1");
    return std::nullopt;
  }
  const QJsonValue studies = file.root.value(QStringLiteral("studies"));
  if (!studies.isUndefined() && !studies.isArray()) {
    error = QStringLiteral("its \"studies\" is not a list");
    return std::nullopt;
  }
  if (!studies.toArray().isEmpty()) {
    file.study = ReadStudy(studies.toArray().first().toObject(), error);
    if (!file.study) return std::nullopt;
  }
  return file;
}

bool WriteStudyFile(const QString& path, StudyFile& file, const StudyDefinition& study,
                    QString& error) {
  QJsonObject root = file.root;
  root.insert(QStringLiteral("format"), kFormat);
  root.insert(QStringLiteral("version"), 1);
  QJsonArray studies = root.value(QStringLiteral("studies")).toArray();
  const QJsonObject old = studies.isEmpty() ? QJsonObject() : studies.first().toObject();
  if (studies.isEmpty()) studies.append(StudyObject(old, study));
  else studies.replace(0, StudyObject(old, study));
  root.insert(QStringLiteral("studies"), studies);
  try {
    const QByteArray text = QJsonDocument(root).toJson(QJsonDocument::Indented);
    WriteFileAtomically(path.toStdString(), std::string_view(text.constData(), text.size()));
  } catch (const std::exception& e) {
    error = QString::fromStdString(e.what());
    return false;
  }
  file.root = root;
  file.study = study;
  return true;
}

}  // namespace terraq::ui
