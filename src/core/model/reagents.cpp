#include "core/model/reagents.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "core/model/model.h"
#include "core/model/number_text.h"

namespace tarn {

namespace {

// An index map for reshaping: element n of the new array takes element
// map[n] of the old one; kNew gives an empty element. map[0] is 0.
using IndexMap = std::vector<int>;
constexpr int kNew = -1;

IndexMap Identity(int upper) {
  IndexMap map;
  for (int n = 0; n <= upper; ++n) map.push_back(n);
  return map;
}

template <typename T>
void Remap(Array1<T>& array, const IndexMap& map) {
  Array1<T> out(static_cast<int>(map.size()) - 1);
  for (std::size_t n = 0; n < map.size(); ++n)
    if (map[n] != kNew) out(static_cast<int>(n)) = array(map[n]);
  array = std::move(out);
}

template <typename T>
void Remap(Array2<T>& array, const IndexMap& rows, const IndexMap& columns) {
  Array2<T> out(static_cast<int>(rows.size()) - 1, static_cast<int>(columns.size()) - 1);
  for (std::size_t i = 0; i < rows.size(); ++i)
    for (std::size_t j = 0; j < columns.size(); ++j)
      if (rows[i] != kNew && columns[j] != kNew)
        out(static_cast<int>(i), static_cast<int>(j)) = array(rows[i], columns[j]);
  array = std::move(out);
}

// The maps of one change: reagents, soluble species and the species list.
struct Reshape {
  IndexMap reagents, species, speciesList;
};

// The species list follows the reagents and soluble species: free reagents,
// then soluble species, then the solids unchanged.
IndexMap SpeciesListMap(const ProjectState& s, const Reshape& r) {
  IndexMap list{0};
  for (std::size_t n = 1; n < r.reagents.size(); ++n) list.push_back(r.reagents[n]);
  for (std::size_t n = 1; n < r.species.size(); ++n)
    list.push_back(r.species[n] == kNew ? kNew : s.nreag + r.species[n]);
  for (int k = 1; k <= s.nsolids; ++k) list.push_back(s.nreag + s.nspecies + k);
  return list;
}

// Reshapes every array indexed by reagent or species and sets the counts.
void Apply(ProjectState& s, const Reshape& r) {
  const IndexMap columns = Identity(1), solids = Identity(s.nsolids), points = Identity(s.nsingle);
  Remap(s.name, r.reagents);
  Remap(s.a, r.reagents, r.species);
  Remap(s.logbeta, r.species);
  Remap(s.refine, r.species);
  Remap(s.sa, r.reagents, solids);
  Remap(s.activity.charge, r.reagents);
  Remap(s.activity.ionSize, r.reagents);
  for (Array2<double>* c : {&s.total, &s.burette, &s.initial, &s.final, &s.pxi, &s.pxf}) Remap(*c, r.reagents, columns);
  Remap(s.flag, r.reagents, columns);
  for (Array2<double>* p : {&s.stotal, &s.sfree}) Remap(*p, r.reagents, points);
  Remap(s.sflag, r.reagents, points);
  Remap(s.sresult, r.speciesList, points);
  Remap(s.plotMark, r.speciesList);
  Remap(s.speciesInfo, Identity(1), r.speciesList);
  Remap(s.caption, r.speciesList);
  s.nreag = static_cast<int>(r.reagents.size()) - 1;
  s.nspecies = static_cast<int>(r.species.size()) - 1;
  s.nsoluble = s.nreag + s.nspecies;
  s.proton = FindProton(s);
  s.modified = true;
  s.recalc = true;
}

// The name of spreadsheet column n (1 "A", 26 "Z", 27 "AA"): letters only, so
// no automatic name is a lower-case "h" or a character that is not plain text.
std::string ColumnName(int n) {
  std::string name;
  for (; n > 0; n = (n - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (n - 1) % 26));
  return name;
}

// Column 8 is "H", the proton.
constexpr int kProtonColumn = 8;

}  // namespace

std::string DefaultReagentName(int j) {
  const int column = std::max(j, 1) + (j >= kProtonColumn ? 1 : 0);
  return ColumnName(column);
}

std::string NewReagentName(const ProjectState& s) {
  std::unordered_set<std::string> taken;
  for (int j = 1; j <= s.nreag; ++j) taken.insert(Upper(Trim(s.name(j))));
  for (int j = s.nreag + 1;; ++j) {
    std::string name = DefaultReagentName(j);
    if (!taken.contains(name) && !IsProtonName(name)) return name;
  }
}

void AddReagent(ProjectState& s) {
  const std::string name = NewReagentName(s);
  Reshape r{Identity(s.nreag), Identity(s.nspecies), {}};
  r.reagents.push_back(kNew);
  r.speciesList = SpeciesListMap(s, r);
  Apply(s, r);
  const int added = s.nreag;
  s.name(added) = name;
  s.flag(added, kTitration) = true;
  for (int p = 1; p <= s.nsingle; ++p) s.sflag(added, p) = true;
  s.plotMark.Fill(0);
  s.speciesInfo.Fill(0);
  s.proton = FindProton(s);
  ResetCaptions(s);
}

bool RemoveReagent(ProjectState& s, int removed) {
  if (removed < 1 || removed > s.nreag || s.nreag < 2) return false;
  Reshape r{{0}, {0}, {}};
  for (int j = 1; j <= s.nreag; ++j)
    if (j != removed) r.reagents.push_back(j);
  for (int i = 1; i <= s.nspecies; ++i)
    if (s.a(removed, i) == 0) r.species.push_back(i);
  r.speciesList = SpeciesListMap(s, r);
  Apply(s, r);
  return true;
}

}  // namespace tarn
