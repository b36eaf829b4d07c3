#include "core/model/old_format.h"

#include <array>
#include <cstddef>
#include <string>
#include <utility>

#include "core/model/message_sink.h"
#include "core/model/model.h"
#include "core/model/number_text.h"

namespace tarn {

namespace {

enum class Layout { kFixed, kComma };

// Reads the text as whole lines or as comma-separated items, from where the
// previous read stopped. Past the end every line and item is empty, and the
// cursor remembers that it ran out (the file was cut short).
class TrnCursor {
 public:
  explicit TrnCursor(std::string_view text) : text_(text) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  bool RanOut() const { return ranOut_; }

  // The rest of the current line without its line end (CR LF, LF or CR).
  std::string_view Line() {
    if (AtEnd()) ranOut_ = true;
    std::size_t start = pos_;
    while (!AtLineEnd()) ++pos_;
    std::string_view line = text_.substr(start, pos_ - start);
    SkipLineEnd();
    return line;
  }

  // The next item: blank lines are skipped; an item in double quotes is the
  // text between them, any other the trimmed text up to a comma or line end.
  std::string Item() {
    for (SkipSpaces(); !AtEnd() && AtLineEnd(); SkipSpaces()) SkipLineEnd();
    if (AtEnd()) {
      ranOut_ = true;
      return {};
    }
    std::string item;
    if (text_[pos_] == '"') {
      std::size_t start = ++pos_;
      while (!AtLineEnd() && text_[pos_] != '"') ++pos_;
      item = text_.substr(start, pos_ - start);
      while (!AtLineEnd() && text_[pos_] != ',') ++pos_;  // the closing quote and anything after it
    } else {
      std::size_t start = pos_;
      while (!AtLineEnd() && text_[pos_] != ',') ++pos_;
      item = Trim(text_.substr(start, pos_ - start));
    }
    if (!AtEnd() && text_[pos_] == ',')
      ++pos_;
    else
      SkipLineEnd();
    return item;
  }

  // Moves to the start of the next line unless already at the start of one.
  void FinishLine() {
    if (pos_ > 0 && text_[pos_ - 1] != '\n' && text_[pos_ - 1] != '\r') Line();
  }

 private:
  bool AtLineEnd() const { return AtEnd() || text_[pos_] == '\r' || text_[pos_] == '\n'; }
  void SkipSpaces() {
    while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }
  void SkipLineEnd() {
    if (AtEnd()) return;
    if (text_[pos_++] == '\r' && !AtEnd() && text_[pos_] == '\n') ++pos_;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
  bool ranOut_ = false;
};

// Positions first..last of a line, counted from 1; shorter lines give less.
std::string_view Field(std::string_view line, std::size_t first, std::size_t last) {
  if (first > line.size()) return {};
  return line.substr(first - 1, last - first + 1);
}

// A flag item: "T", "True" (any case, "#" marks ignored) or a non-zero number.
bool ItemFlag(std::string_view item) {
  std::string t;
  for (char ch : Upper(Trim(item)))
    if (ch != '#') t += ch;
  return t == "T" || t == "TRUE" || LeadingNumber(t) != 0;
}

// The title line and the counts, which decide everything else.
struct TrnHeader {
  Layout layout = Layout::kFixed;
  std::string title;
  long long nreag = 0, nspecies = 0, nsolids = 0, nsingle = 0;
};

TrnHeader ReadHeader(TrnCursor& c) {
  TrnHeader h;
  h.title = Trim(c.Line());
  TrnCursor peek = c;
  h.layout = peek.Line().find(',') != std::string_view::npos ? Layout::kComma : Layout::kFixed;
  if (h.layout == Layout::kComma) {
    for (long long* n : {&h.nreag, &h.nspecies, &h.nsolids, &h.nsingle}) *n = RoundedCount(c.Item());
    c.Item();        // a number the format does not use
    c.FinishLine();  // the names start on a line of their own
  } else {
    std::string_view line = c.Line();
    h.nreag = RoundedCount(Field(line, 1, 5));
    h.nspecies = RoundedCount(Field(line, 6, 10));
    h.nsolids = RoundedCount(Field(line, 11, 15));
    h.nsingle = RoundedCount(Field(line, 16, 20));
  }
  return h;
}

// The scalars and counts of a project read from the file, its arrays
// allocated and empty. The old format has no fitting-program data.
void StartProject(ProjectState& s, const TrnHeader& h) {
  s.title = h.title;
  s.maxit = 25;
  s.mode = 0;
  s.excessive = 0.33;
  s.selector.clear();
  for (std::string* carried :
       {&s.potentiometricData, &s.absorbanceData, &s.combinedData, &s.resonance, &s.calorimetricData})
    carried->clear();
  s.nreag = static_cast<int>(h.nreag);
  s.nspecies = static_cast<int>(h.nspecies);
  s.nsolids = static_cast<int>(h.nsolids);
  s.nsingle = static_cast<int>(h.nsingle);
  s.nsoluble = s.nreag + s.nspecies;
  s.proton = 0;
  AllocateModel(s);
}

void ReadNames(ProjectState& s, TrnCursor& c, Layout layout) {
  for (int j = 1; j <= s.nreag; ++j) {
    std::string_view line = c.Line();
    s.name(j) = layout == Layout::kFixed ? std::string(Trim(Field(line, 12, line.size()))) : std::string(line);
  }
  s.proton = FindProton(s);
}

// The coefficient of reagent j sits in positions 5j+6 to 5j+10.
void ReadCoefficients(std::string_view line, int nreag, Array2<int>& coefficients, int column) {
  for (int j = 1; j <= nreag; ++j) {
    std::size_t first = 5 * static_cast<std::size_t>(j) + 6;
    if (first > line.size()) break;
    coefficients(j, column) = ParseInteger(Field(line, first, first + 4));
  }
}

void ReadSpeciesAndSolids(ProjectState& s, TrnCursor& c, MessageSink& sink) {
  for (int i = 1; i <= s.nspecies; ++i) {
    std::string_view line = c.Line();
    s.logbeta(i) = ParseNumberOrZero(Field(line, 1, 10), sink);
    ReadCoefficients(line, s.nreag, s.a, i);
  }
  for (int k = 1; k <= s.nsolids; ++k) {
    std::string_view line = c.Line();
    s.logksp(k) = static_cast<float>(ParseNumberOrZero(Field(line, 1, 10), sink));
    ReadCoefficients(line, s.nreag, s.sa, k);
  }
}

// The six numbers of a condition row, in file order.
std::array<Array2<double>*, 6> ConditionArrays(ProjectState& s) {
  return {&s.total, &s.burette, &s.initial, &s.final, &s.pxi, &s.pxf};
}

// One line per reagent, ten positions per number and the flag at position
// 61; both columns start from the same values.
void ReadFixedConditions(ProjectState& s, TrnCursor& c, MessageSink& sink) {
  const auto arrays = ConditionArrays(s);
  for (int j = 1; j <= s.nreag; ++j) {
    std::string_view line = c.Line();
    for (std::size_t f = 0; f < arrays.size(); ++f) {
      double v = ParseNumberOrZero(Field(line, 10 * f + 1, 10 * f + 10), sink);
      (*arrays[f])(j, kTitration) = (*arrays[f])(j, kDistribution) = v;
    }
    s.flag(j, kDistribution) = line.size() >= 61 && line[60] == 'T';
  }
}

// Seven items per reagent, the titration column first.
void ReadCommaConditions(ProjectState& s, TrnCursor& c, MessageSink& sink) {
  const auto arrays = ConditionArrays(s);
  for (int t : {kTitration, kDistribution})
    for (int j = 1; j <= s.nreag; ++j) {
      for (Array2<double>* a : arrays) (*a)(j, t) = ParseNumberOrZero(c.Item(), sink);
      s.flag(j, t) = ItemFlag(c.Item());
    }
}

void ReadFixedVolumes(ProjectState& s, TrnCursor& c, MessageSink& sink) {
  std::string_view line = c.Line();
  s.volume[0] = ParseNumberOrZero(Field(line, 1, 10), sink);
  s.vfinal = ParseNumberOrZero(Field(line, 11, 20), sink);
  s.type = CalculationType(1.0 - ParseInteger(Field(line, 26, 30)));  // 1 titration, 0 distribution
  s.volume[1] = 1;
}

void ReadCommaVolumes(ProjectState& s, TrnCursor& c, MessageSink& sink) {
  s.volume[0] = ParseNumberOrZero(c.Item(), sink);
  s.volume[1] = ParseNumberOrZero(c.Item(), sink);
  s.vfinal = ParseNumberOrZero(c.Item(), sink);
  c.Item();  // a number the format does not use
  s.type = CalculationType(ParseNumberOrZero(c.Item(), sink));
}

// A vessel without volume gets 10 mL and at least 2 mL of titrant.
void ApplyVolumeRules(ProjectState& s) {
  if (!(s.volume[0] > 0)) {
    s.volume[0] = 10;
    if (!(s.vfinal > s.volume[0])) s.vfinal = s.volume[0] + 2;
  }
  DeriveTitrationConcentrations(s);
  if (!(s.volume[1] > 0)) s.volume[1] = 1;
}

void ReadSinglePoints(ProjectState& s, TrnCursor& c, MessageSink& sink) {
  for (int p = 1; p <= s.nsingle && !c.RanOut(); ++p)
    for (int j = 1; j <= s.nreag; ++j) {
      s.stotal(j, p) = ParseNumberOrZero(c.Item(), sink);
      s.sfree(j, p) = ParseNumberOrZero(c.Item(), sink);
      s.sflag(j, p) = ItemFlag(c.Item());
    }
}

// Conditions, volumes and single points: everything after the model lines
// except the captions.
void ReadConditionsAndPoints(ProjectState& s, TrnCursor& c, Layout layout, MessageSink& sink) {
  if (layout == Layout::kFixed) {
    ReadFixedConditions(s, c, sink);
    ReadFixedVolumes(s, c, sink);
  } else {
    ReadCommaConditions(s, c, sink);
    ReadCommaVolumes(s, c, sink);
  }
  for (int j = 1; j <= s.nreag; ++j) s.flag(j, kTitration) = true;
  ApplyVolumeRules(s);
  ReadSinglePoints(s, c, sink);
}

void ReadCaptions(ProjectState& s, TrnCursor& c) {
  for (int k = 1; k <= s.ntotal() && !c.AtEnd(); ++k) s.caption(k) = c.Item();
  DefaultCaptions(s);
}

// The arrays an import refills: the species list, the conditions and the
// single points. Names, species and solids stay.
void ReallocateConditions(ProjectState& s) {
  AllocateConditions(s);
  s.plot.yChoice = 0;
}

DeclaredCounts CountsOf(const TrnHeader& h) {
  return {h.nreag, h.nspecies, h.nsolids, h.nsingle};
}

// The file's own counts fit its text, and the open model's species list
// with the file's points fits it too.
bool ImportFitsText(const ProjectState& s, const TrnHeader& h, std::size_t textLength) {
  const double allocated = CellsToAllocate({s.nreag, s.nspecies, s.nsolids, h.nsingle});
  return CountsFitText(CountsOf(h), textLength) && AllocationFitsText(allocated, textLength);
}

}  // namespace

ReadStatus OpenTrn(ProjectState& state, std::string_view path, MessageSink& sink) {
  std::string text;
  ProjectState read = state;
  read.currentFile = Unquoted(path);
  if (!ReadTextFile(read.currentFile, text)) return ReadStatus::kUnreadable;
  ReadStatus status = ReadTrnText(read, text, sink);
  if (status == ReadStatus::kOk) state = std::move(read);
  return status;
}

ReadStatus ReadTrnText(ProjectState& state, std::string_view text, MessageSink& sink) {
  TrnCursor c(text);
  TrnHeader h = ReadHeader(c);
  if (!CountsFitText(CountsOf(h), text.size())) {
    sink.Show(DamagedFileMessage(state.currentFile));
    return ReadStatus::kRefused;
  }
  ProjectState s = state;
  StartProject(s, h);
  ReadNames(s, c, h.layout);
  ReadSpeciesAndSolids(s, c, sink);
  ReadConditionsAndPoints(s, c, h.layout, sink);
  if (c.RanOut()) {  // cut short before its volumes or single points
    sink.Show(DamagedFileMessage(state.currentFile));
    return ReadStatus::kRefused;
  }
  ReadCaptions(s, c);
  s.modified = false;
  s.recalc = true;
  state = std::move(s);
  return ReadStatus::kOk;
}

int GetTarndata(ProjectState& state, const std::string& path, MessageSink& sink) {
  std::string text;
  if (!ReadTextFile(Unquoted(path), text)) return kImportRefused;
  return GetTarndataText(state, text, sink, Unquoted(path));
}

int GetTarndataText(ProjectState& state, std::string_view text, MessageSink& sink, std::string_view path) {
  TrnCursor c(text);
  TrnHeader h = ReadHeader(c);
  if (h.nreag != state.nreag) {
    sink.Show("Inconsistent number of reagents");
    return kImportRefused;
  }
  if (h.nsolids != 0) {
    sink.Show("No insoluble species allowed here");
    return kImportRefused;
  }
  if (!ImportFitsText(state, h, text.size())) {
    sink.Show(DamagedFileMessage(path));
    return kImportRefused;
  }
  ProjectState s = state;
  s.nsingle = static_cast<int>(h.nsingle);
  ReallocateConditions(s);
  for (long long n = 0; n < h.nreag + h.nspecies && !c.AtEnd(); ++n) c.Line();
  ReadConditionsAndPoints(s, c, h.layout, sink);
  if (c.RanOut()) {
    sink.Show(DamagedFileMessage(path));
    return kImportRefused;
  }
  ResetCaptions(s);
  s.recalc = true;
  state = std::move(s);
  return kImportAdded;
}

void ApplyImportDefaults(ProjectState& s) {
  s.volume[0] = 10;
  s.vfinal = 12;
  s.vadded = 2;
  s.volume[1] = 1;
  ResetCaptions(s);
  for (int j = 1; j <= s.nreag; ++j)
    for (int t : {kTitration, kDistribution}) {
      s.total(j, t) = s.burette(j, t) = s.initial(j, t) = s.final(j, t) = 0;
      s.pxi(j, t) = 3;
      s.pxf(j, t) = 9;
      s.flag(j, t) = true;
    }
  s.recalc = true;
}

}  // namespace tarn
