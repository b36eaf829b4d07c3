#include "core/model/project_file.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <utility>

#include "core/model/message_sink.h"
#include "core/model/model.h"
#include "core/model/number_text.h"
#include "core/model/save_file.h"

namespace tarn {

namespace {

constexpr const char* kEol = "\r\n";

std::string NoBlanks(std::string_view tag) {
  std::string out;
  for (char c : tag)
    if (c != ' ') out += c;
  return out;
}

// An indexed tag such as "b3" or "total12".
std::string Tag(std::string_view word, int index) {
  return std::string(word) + std::to_string(index);
}

std::string Bool(bool b) {
  return b ? "True" : "False";
}

std::string Num(double x) {
  return FileNumber(x);
}

// Where the first "<tag>" and the first "</tag>" of a text begin.
struct Section {
  std::optional<std::size_t> open, close;
  bool Complete() const { return open && close && *close > *open; }
  // The other section lies between this one's tags.
  bool Holds(const Section& inner) const { return *inner.open > *open && *inner.close < *close; }
};

Section FindSection(std::string_view tag, std::string_view text) {
  auto at = [&](const std::string& mark) -> std::optional<std::size_t> {
    std::size_t p = text.find(mark);
    return p == std::string_view::npos ? std::nullopt : std::optional(p);
  };
  return {at("<" + std::string(tag) + ">"), at("</" + std::string(tag) + ">")};
}

void ReadModelSection(ProjectState& s, const std::string& model, MessageSink& sink) {
  s.title = GetElement("title", model);
  s.maxit = ParseInteger(GetElement("maxit", model));
  s.mode = ParseInteger(GetElement("mode", model));
  s.excessive = ParseNumberOrZero(GetElement("excessive", model), sink);
  std::string reagents = GetElement("reagents", model);
  ElementIndex names(reagents);
  for (int j = 1; j <= s.nreag; ++j) {
    s.name(j) = names.Get(Tag("name", j));
    if (IsProtonName(s.name(j))) s.proton = j;
  }
  std::string betas = GetElement("betas", model);
  ElementIndex species(betas);
  for (int i = 1; i <= s.nspecies; ++i) {
    std::string b = species.Get(Tag("b", i));
    ElementIndex fields(b);
    s.logbeta(i) = ParseNumberOrZero(fields.Get("value"), sink);
    s.refine(i) = ParseInteger(fields.Get("refine"));
    for (int j = 1; j <= s.nreag; ++j) s.a(j, i) = ParseInteger(fields.Get(Tag("a", j)));
  }
}

void ReadSolids(ProjectState& s, const std::string& tarn, MessageSink& sink) {
  std::string insolubles = GetElement("insolubles", tarn);
  ElementIndex solids(insolubles);
  for (int k = 1; k <= s.nsolids; ++k) {
    std::string e = solids.Get(Tag("i", k));
    ElementIndex fields(e);
    s.logksp(k) = static_cast<float>(ParseNumberOrZero(fields.Get("value"), sink));
    for (int j = 1; j <= s.nreag; ++j) s.sa(j, k) = ParseInteger(fields.Get(Tag("a", j)));
  }
}

void ReadConditions(ProjectState& s, const std::string& tarn, MessageSink& sink) {
  s.type = CalculationType(ParseNumberOrZero(GetElement("type", tarn), sink));

  std::string titration = GetElement("titration", tarn);
  s.volume[0] = ParseNumberOrZero(GetElement("volume", titration), sink);
  s.vfinal = ParseNumberOrZero(GetElement("final", titration), sink);
  ElementIndex titrationRows(titration);
  for (int j = 1; j <= s.nreag; ++j) {
    std::string r = titrationRows.Get(Tag("r", j));
    s.total(j, 0) = ParseNumberOrZero(GetElement("total", r), sink);
    s.burette(j, 0) = ParseNumberOrZero(GetElement("burette", r), sink);
    s.flag(j, 0) = true;
  }
  DeriveTitrationConcentrations(s);

  std::string simulation = GetElement("simulation", tarn);
  s.volume[1] = ParseNumberOrZero(GetElement("volume", simulation), sink);
  if (!(s.volume[1] > 0)) s.volume[1] = 1;
  ElementIndex simulationRows(simulation);
  for (int j = 1; j <= s.nreag; ++j) {
    std::string r = simulationRows.Get(Tag("r", j));
    s.initial(j, 1) = ParseNumberOrZero(GetElement("initial", r), sink);
    s.final(j, 1) = ParseNumberOrZero(GetElement("final", r), sink);
    s.pxi(j, 1) = ParseNumberOrZero(GetElement("pxi", r), sink);
    s.pxf(j, 1) = ParseNumberOrZero(GetElement("pxf", r), sink);
    s.flag(j, 1) = GetElement("flag", r) == "True";
  }
}

void ReadSinglePoints(ProjectState& s, const std::string& tarn, MessageSink& sink) {
  std::string single = GetElement("single", tarn);
  ElementIndex points(single);
  for (int p = 1; p <= s.nsingle; ++p) {
    std::string e = points.Get(Tag("p", p));
    ElementIndex fields(e);
    for (int j = 1; j <= s.nreag; ++j) {
      s.stotal(j, p) = ParseNumberOrZero(fields.Get(Tag("total", j)), sink);
      s.sfree(j, p) = ParseNumberOrZero(fields.Get(Tag("free", j)), sink);
      s.sflag(j, p) = fields.Get(Tag("flag", j)).find("True") != std::string::npos;
    }
  }
}

// A number of the activity section: the default when the element is missing
// or holds no finite value that is not negative (such a value could not be
// calculated with).
double SettingNumber(const std::string& text, double fallback, MessageSink& sink) {
  if (text.empty()) return fallback;
  const double x = ParseNumberOrZero(text, sink);
  return std::isfinite(x) && x >= 0 ? x : fallback;
}

// The activity settings; a file without them keeps the defaults that
// AllocateModel set.
void ReadActivity(ProjectState& s, const std::string& tarn, MessageSink& sink) {
  const std::string section = GetElement("activity", tarn);
  if (Trim(section).empty()) return;
  ActivitySettings& a = s.activity;
  const ActivitySettings d;
  a.correction = CorrectionFromText(GetElement("correction", section));
  const std::string strength = GetElement("strength", section);
  a.calculated = Trim(GetElement("calculated", strength)) != "False";
  a.fixedStrength = SettingNumber(GetElement("fixed", strength), d.fixedStrength, sink);
  a.referenceStrength = SettingNumber(GetElement("reference", strength), d.referenceStrength, sink);
  a.celsius = SettingNumber(GetElement("celsius", strength), d.celsius, sink);
  if (a.celsius > kHighestCelsius) a.celsius = d.celsius;
  const std::string background = GetElement("background", section);
  a.background = SettingNumber(GetElement("concentration", background), d.background, sink);
  const std::string cation = GetElement("cation", background), anion = GetElement("anion", background);
  a.cationCharge = cation.empty() ? d.cationCharge : LimitedCharge(ParseInteger(cation));
  a.anionCharge = anion.empty() ? d.anionCharge : LimitedCharge(ParseInteger(anion));
  ElementIndex ions(section);
  for (int j = 1; j <= s.nreag; ++j) {
    const std::string ion = ions.Get(Tag("ion", j));
    a.charge(j) = LimitedCharge(ParseInteger(GetElement("charge", ion)));
    a.ionSize(j) = SettingNumber(GetElement("size", ion), 0, sink);
  }
}

void ReadCaptions(ProjectState& s, const std::string& tarn) {
  std::string captions = GetElement("captions", tarn);
  ElementIndex items(captions);
  for (int k = 1; k <= s.ntotal(); ++k) s.caption(k) = items.Get(Tag("c", k));
  DefaultCaptions(s);
}

std::string ModelLines(const ProjectState& s) {
  std::string out;
  out += "<model>" + std::string(kEol);
  out += MakeElement("title", s.title) + kEol;
  out += MakeElement("maxit", std::to_string(s.maxit)) + kEol;
  out += MakeElement("mode", std::to_string(s.mode)) + kEol;
  out += MakeElement("excessive", Num(s.excessive)) + kEol;
  out += "<reagents>" + std::string(kEol);
  out += MakeElement("number", std::to_string(s.nreag)) + kEol;
  for (int j = 1; j <= s.nreag; ++j) out += MakeElement(Tag("name", j), s.name(j)) + kEol;
  out += "</reagents>" + std::string(kEol);
  out += "<betas>" + std::string(kEol);
  out += MakeElement("number", std::to_string(s.nspecies)) + kEol;
  for (int i = 1; i <= s.nspecies; ++i) {
    std::string b = MakeElement("value", Num(s.logbeta(i)));
    for (int j = 1; j <= s.nreag; ++j) b += MakeElement(Tag("a", j), std::to_string(s.a(j, i)));
    b += MakeElement("refine", std::to_string(s.refine(i)));
    out += MakeElement(Tag("b", i), b) + kEol;
  }
  out += "</betas>" + std::string(kEol);
  out += MakeElement("selector", s.selector) + kEol;
  out += "</model>" + std::string(kEol);
  return out;
}

std::string CarriedLines(const ProjectState& s) {
  std::string out;
  const std::pair<const char*, const std::string*> carried[] = {{"potentiometric_data", &s.potentiometricData},
                                                                {"absorbance_data", &s.absorbanceData},
                                                                {"combined_data", &s.combinedData},
                                                                {"resonance", &s.resonance},
                                                                {"calorimetric_data", &s.calorimetricData}};
  for (const auto& [tag, text] : carried)
    if (!Trim(*text).empty()) out += MakeElement(tag, *text) + kEol;
  return out;
}

std::string ConditionLines(const ProjectState& s) {
  std::string out;
  out += "<titration>" + std::string(kEol);
  out += MakeElement("volume", Num(s.volume[0])) + MakeElement("final", Num(s.vfinal)) + kEol;
  for (int j = 1; j <= s.nreag; ++j)
    out += MakeElement(Tag("r", j),
                       MakeElement("total", Num(s.total(j, 0))) + MakeElement("burette", Num(s.burette(j, 0)))) +
           kEol;
  out += "</titration>" + std::string(kEol);
  out += "<simulation>" + std::string(kEol);
  out += MakeElement("volume", Num(s.volume[1])) + kEol;
  for (int j = 1; j <= s.nreag; ++j)
    out +=
        MakeElement(Tag("r", j), MakeElement("initial", Num(s.initial(j, 1))) +
                                     MakeElement("final", Num(s.final(j, 1))) + MakeElement("pxi", Num(s.pxi(j, 1))) +
                                     MakeElement("pxf", Num(s.pxf(j, 1))) + MakeElement("flag", Bool(s.flag(j, 1)))) +
        kEol;
  out += "</simulation>" + std::string(kEol);
  return out;
}

// The activity settings, written only when the chemist has set any: a
// project without them is written as before.
std::string ActivityLines(const ProjectState& s) {
  const ActivitySettings& a = s.activity;
  if (ActivityIsDefault(a)) return {};
  std::string out = "<activity>" + std::string(kEol);
  out += MakeElement("correction", CorrectionText(a.correction)) + kEol;
  out += MakeElement("strength",
                     MakeElement("calculated", Bool(a.calculated)) + MakeElement("fixed", Num(a.fixedStrength)) +
                         MakeElement("reference", Num(a.referenceStrength)) + MakeElement("celsius", Num(a.celsius))) +
         kEol;
  out += MakeElement("background", MakeElement("concentration", Num(a.background)) +
                                       MakeElement("cation", std::to_string(a.cationCharge)) +
                                       MakeElement("anion", std::to_string(a.anionCharge))) +
         kEol;
  for (int j = 1; j <= s.nreag; ++j)
    out += MakeElement(Tag("ion", j), MakeElement("charge", std::to_string(ReagentCharge(s, j))) +
                                          MakeElement("size", Num(j <= a.ionSize.Upper() ? a.ionSize(j) : 0))) +
           kEol;
  out += "</activity>" + std::string(kEol);
  return out;
}

std::string TarnLines(const ProjectState& s) {
  std::string out = "<Tarn>" + std::string(kEol);
  out += MakeElement("type", std::to_string(s.type)) + kEol;
  out += "<insolubles>" + std::string(kEol);
  out += MakeElement("number", std::to_string(s.nsolids)) + kEol;
  for (int k = 1; k <= s.nsolids; ++k) {
    std::string e = MakeElement("value", Num(s.logksp(k)));
    for (int j = 1; j <= s.nreag; ++j) e += MakeElement(Tag("a", j), std::to_string(s.sa(j, k)));
    out += MakeElement(Tag("i", k), e) + kEol;
  }
  out += "</insolubles>" + std::string(kEol);
  out += ConditionLines(s);
  out += "<single>" + std::string(kEol);
  out += MakeElement("number", std::to_string(s.nsingle)) + kEol;
  for (int p = 1; p <= s.nsingle; ++p) {
    std::string e;
    for (int j = 1; j <= s.nreag; ++j)
      e += MakeElement(Tag("total", j), Num(s.stotal(j, p))) + MakeElement(Tag("free", j), Num(s.sfree(j, p))) +
           MakeElement(Tag("flag", j), Bool(s.sflag(j, p)));
    out += MakeElement(Tag("p", p), e) + kEol;
  }
  out += "</single>" + std::string(kEol);
  out += "<captions>" + std::string(kEol);
  for (int k = 1; k <= s.ntotal(); ++k) out += MakeElement(Tag("c", k), s.caption(k)) + kEol;
  out += "</captions>" + std::string(kEol);
  out += ActivityLines(s);
  out += "</Tarn>" + std::string(kEol);
  return out;
}

}  // namespace

long long RoundedCount(std::string_view text) {
  double v = LeadingNumber(text);
  if (!std::isfinite(v) || std::fabs(v) > 1e15) return -1;
  return std::llround(v);
}

int CalculationType(double value) {
  // The values that round to 1 (halves away from zero), without rounding
  // magnitudes that no integer type holds.
  return value >= 0.5 && value < 1.5 ? kDistribution : kTitration;
}

std::string GetElement(std::string_view tag, std::string_view text) {
  std::string t = NoBlanks(tag);
  std::string open = "<" + t + ">";
  std::string close = "</" + t + ">";
  std::size_t b = text.find(open);
  std::size_t e = text.find(close);
  if (b == std::string_view::npos || e == std::string_view::npos) return {};
  b += open.size();
  if (e < b) return {};
  return std::string(text.substr(b, e - b));
}

ElementIndex::ElementIndex(std::string_view text) : text_(text) {
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    std::size_t end = text.find_first_of("<>", at + 1);
    if (end == std::string_view::npos) break;
    if (text[end] == '>') first_.emplace(text.substr(at + 1, end - at - 1), at);
  }
}

std::string ElementIndex::Get(std::string_view tag) const {
  std::string t = NoBlanks(tag);
  auto open = first_.find(t);
  auto close = first_.find("/" + t);
  if (open == first_.end() || close == first_.end()) return {};
  std::size_t b = open->second + t.size() + 2;
  if (close->second < b) return {};
  return std::string(text_.substr(b, close->second - b));
}

std::string MakeElement(std::string_view tag, std::string_view value) {
  std::string t = NoBlanks(tag);
  return "<" + t + ">" + std::string(Trim(value)) + "</" + t + ">";
}

std::string Unquoted(std::string_view path) {
  if (!path.empty() && path.front() == '"') {
    std::size_t close = path.find('"', 1);
    return std::string(path.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  }
  return std::string(path);
}

bool ReadTextFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return false;
  text = buffer.str();
  return true;
}

ProjectTextKind KindOfProjectText(std::string_view text) {
  const Section root = FindSection("calvor", text);
  const Section model = FindSection("model", text);
  const Section tarn = FindSection("Tarn", text);
  if (!root.Complete() || !model.Complete() || !root.Holds(model)) return ProjectTextKind::kDamaged;
  if (!tarn.open && !tarn.close) return ProjectTextKind::kModelOnly;
  if (!tarn.Complete() || !root.Holds(tarn)) return ProjectTextKind::kDamaged;
  return Trim(GetElement("Tarn", text)).empty() ? ProjectTextKind::kModelOnly : ProjectTextKind::kProject;
}

ReadStatus OpenXML(ProjectState& state, std::string_view path, MessageSink& sink) {
  std::string text;
  ProjectState read = state;
  read.currentFile = Unquoted(path);  // Save writes to the file itself
  if (!ReadTextFile(read.currentFile, text)) return ReadStatus::kUnreadable;
  ReadStatus status = ReadProjectText(read, text, sink);
  if (status == ReadStatus::kOk) state = std::move(read);
  return status;
}

ReadStatus ReadProjectText(ProjectState& state, std::string_view text, MessageSink& sink) {
  const ProjectTextKind kind = KindOfProjectText(text);
  if (kind == ProjectTextKind::kDamaged) {
    sink.Show(DamagedFileMessage(state.currentFile));
    return ReadStatus::kRefused;
  }
  ProjectState s = state;
  s.selector = GetElement("selector", text);
  s.potentiometricData = GetElement("potentiometric_data", text);
  s.absorbanceData = GetElement("absorbance_data", text);
  s.combinedData = GetElement("combined_data", text);
  std::string tarn = GetElement("Tarn", text);
  s.resonance = GetElement("resonance", text);
  s.calorimetricData = GetElement("calorimetric_data", text);
  std::string model = GetElement("model", text);

  long long nreag = RoundedCount(GetElement("number", GetElement("reagents", model)));
  long long nspecies = RoundedCount(GetElement("number", GetElement("betas", model)));
  long long nsolids = RoundedCount(GetElement("number", GetElement("insolubles", tarn)));
  long long nsingle = RoundedCount(GetElement("number", GetElement("single", tarn)));
  bool tarnEmpty = kind == ProjectTextKind::kModelOnly;
  if (tarnEmpty) nsolids = nsingle = 0;
  if (!CountsFitText({nreag, nspecies, nsolids, nsingle}, text.size())) {
    sink.Show(DamagedFileMessage(state.currentFile));
    return ReadStatus::kRefused;
  }
  s.nreag = static_cast<int>(nreag);
  s.nspecies = static_cast<int>(nspecies);
  s.nsolids = static_cast<int>(nsolids);
  s.nsingle = static_cast<int>(nsingle);
  s.nsoluble = s.nreag + s.nspecies;
  s.proton = 0;
  AllocateModel(s);
  ReadModelSection(s, model, sink);

  if (tarnEmpty) {
    for (int j = 1; j <= s.nreag; ++j) s.flag(j, 0) = s.flag(j, 1) = true;
    ResetCaptions(s);
  } else {
    ReadSolids(s, tarn, sink);
    ReadConditions(s, tarn, sink);
    ReadSinglePoints(s, tarn, sink);
    ReadCaptions(s, tarn);
    ReadActivity(s, tarn, sink);
  }
  s.modified = false;
  s.recalc = true;
  state = std::move(s);
  return ReadStatus::kOk;
}

std::string ProjectText(const ProjectState& s) {
  std::string out = "<calvor>" + std::string(kEol);
  out += ModelLines(s);
  out += CarriedLines(s);
  out += TarnLines(s);
  out += "</calvor>" + std::string(kEol);
  return out;
}

bool WriteProject(ProjectState& state, const std::string& path, MessageSink& sink) {
  if (!SaveTextFile(path, ProjectText(state)).ok) {
    sink.Show("can't save " + path + "\r" + "try saving with another name");
    return false;
  }
  state.modified = false;
  return true;
}

}  // namespace tarn
