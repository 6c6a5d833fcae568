#include "StudyFiles.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "SummaryOutput.h"
#include "project/AtomicFile.h"
#include "project/ProjectInputs.h"

namespace terraq::cli {

std::unique_ptr<OutputFile> OutputFile::Open(const std::filesystem::path& path,
                                             std::string& error) {
  std::unique_ptr<OutputFile> file(new OutputFile);
  try {
    file->replacement_ = std::make_unique<ui::ReplacementFile>(path);
  } catch (const ui::EFileWriteError& e) {
    error = "cannot write " + path.string() + ": " + e.reason();
    return nullptr;
  }
  // Its own descriptor: the replacement keeps and closes the first one.
  const int fd = ::dup(file->replacement_->descriptor());
  file->stream_ = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
  if (!file->stream_) {
    error = "cannot write " + path.string() + ": " + std::strerror(errno);
    if (fd >= 0) ::close(fd);
    return nullptr;
  }
  return file;
}

OutputFile::~OutputFile() {
  if (stream_) std::fclose(stream_);
}

void OutputFile::write(std::string_view text) {
  if (!failed_ && std::fwrite(text.data(), 1, text.size(), stream_) != text.size()) failed_ = true;
}

bool OutputFile::commit(std::string& error) {
  const int written = failed_ || std::ferror(stream_) ? errno : 0;
  const bool closed = std::fclose(stream_) == 0;
  stream_ = nullptr;
  if (written || failed_ || !closed) {
    error = "cannot write " + replacement_->path().string() + ": " +
            std::strerror(written ? written
                          : errno ? errno
                                  : EIO);
    return false;
  }
  try {
    replacement_->replaceTarget();
  } catch (const ui::EFileWriteError& e) {
    error = "cannot write " + replacement_->path().string() + ": " + e.reason();
    return false;
  }
  return true;
}

const std::filesystem::path& OutputFile::temporary() const { return replacement_->temporary(); }

namespace {

// A path as the file system resolves it, for telling two names of one file
// apart before either exists.
std::filesystem::path comparable(const std::filesystem::path& path) {
  std::error_code ec;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, ec);
  return ec ? std::filesystem::absolute(path, ec).lexically_normal() : resolved;
}

}  // namespace

std::string RefusedStudyOutputs(const std::string& dataFile, const std::string& csv,
                                const std::string& part, const std::string& plot) {
  std::vector<ui::TFileRole> written;
  for (const auto& [name, role] :
       {std::pair{&csv, "the CSV file"}, std::pair{&part, "the part file"},
        std::pair{&plot, "the picture"}})
    if (!name->empty()) written.push_back({*name, role});
  try {
    ui::RefuseProjectInputs(written, dataFile);
  } catch (const ui::EFileWriteError& e) {
    return "cannot write " + e.path().string() + ": " + e.reason();
  }
  for (size_t k = 0; k < written.size(); ++k) {
    if (const std::string kind = ui::ProjectInputKind(written[k].path); !kind.empty())
      return "cannot write " + written[k].path.string() + ": it is named as " + kind +
             " of a project, which " + written[k].role + " must not replace";
    // Two outputs of one name that do not exist yet: the second would
    // replace the first.
    for (size_t j = 0; j < k; ++j)
      if (comparable(written[k].path) == comparable(written[j].path))
        return "cannot write " + written[k].path.string() + ": it is the same file as " +
               written[j].path.string() + " (" + written[j].role + ")";
  }
  return {};
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string CsvNumber(double value) {
  const std::string json = JsonNumber(value);
  return json == "null" ? "" : json;
}

std::string SweepCsv(const design::SweepResult& result, bool staged) {
  const std::vector<std::vector<std::string>> supports = design::SupportColumns(result);
  const size_t problems = supports.size();
  std::string out;
  for (const std::string& name : result.names) out += CsvField(name) + ",";
  for (size_t p = 0; p < problems; ++p) {
    const std::string prefix = design::ProblemPrefix(p, problems, staged);
    for (const char* n :
         {"top", "deflection", "deflection.depth", "moment", "moment.depth", "shear", "shear.depth",
          "shear.max", "shear.max.depth", "shear.min", "shear.min.depth"})
      out += prefix + n + ",";
    for (const std::string& s : supports[p]) out += prefix + s + "," + prefix + s + ".depth,";
    out += prefix + "closed," + prefix + "held,";
  }
  out += "error\n";
  for (size_t k = 0; k < result.done; ++k) {
    const design::PointResult& point = result.points[k];
    for (double v : point.values) out += CsvNumber(v) + ",";
    for (size_t p = 0; p < problems; ++p) {
      if (p >= point.problems.size()) {
        out += std::string(11 + 2 * supports[p].size() + 2, ',');
        continue;
      }
      const design::ProblemOutputs& o = point.problems[p];
      for (double v :
           {o.topDeflection, o.deflection, o.deflectionDepth, o.moment, o.momentDepth, o.shear,
            o.shearDepth, o.shearMax, o.shearMaxDepth, o.shearMin, o.shearMinDepth})
        out += CsvNumber(v) + ",";
      for (size_t s = 0; s < supports[p].size(); ++s)
        out += s < o.supports.size()
                   ? CsvNumber(o.supports[s].force) + "," + CsvNumber(o.supports[s].depth) + ","
                   : std::string(",,");
      out += std::string(o.closed ? "true," : "false,") + (o.held ? "true," : "false,");
    }
    out += (point.error ? CsvField(*point.error) : "") + "\n";
  }
  return out;
}

std::string SampleCsvHeading(const std::vector<std::string>& parameters,
                             const std::vector<std::string>& outputs,
                             const std::vector<design::LimitState>& limits) {
  std::string out = "sample,";
  for (const std::string& p : parameters) out += CsvField(p) + ",";
  for (const std::string& o : outputs) out += CsvField(o) + ",";
  out += "held,error";
  if (limits.size() > 1) {
    for (const design::LimitState& l : limits) out += "," + CsvField("fails:" + l.name);
    out += ",fails:system";
  }
  return out + "\n";
}

std::string SampleCsvRow(size_t index, const std::vector<double>& values,
                         const design::Evaluation& e, size_t outputs,
                         const std::vector<design::LimitState>& limits) {
  std::string out = std::to_string(index + 1) + ",";
  for (double v : values) out += CsvNumber(v) + ",";
  const bool ok = !e.error && e.outputs.size() == outputs;
  for (size_t o = 0; o < outputs; ++o) out += (ok ? CsvNumber(e.outputs[o]) : "") + ",";
  out += ok ? (e.held ? "true," : "false,") : ",";
  out += e.error ? CsvField(*e.error) : "";
  if (limits.size() > 1) {
    bool any = false;
    for (const design::LimitState& l : limits) {
      const bool fails = design::Fails(l, e, outputs);
      any = any || fails;
      out += fails ? ",true" : ",false";
    }
    out += any ? ",true" : ",false";
  }
  return out + "\n";
}

}  // namespace terraq::cli
