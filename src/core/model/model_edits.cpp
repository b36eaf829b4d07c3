#include "core/model/constants.h"
#include "core/model/model_edits.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "core/model/model.h"
#include "core/model/number_text.h"

namespace tarn {

namespace {

// Sizes the species list (and the single points' results) for the counts.
void SizeSpeciesList(ProjectState& s) {
  const int nt = s.ntotal();
  s.plotMark.ResizeKeep(nt);
  s.speciesInfo.ResizeKeep(1, nt);
  s.caption.ResizeKeep(nt);
  s.sresult.ResizeKeep(nt, std::max(s.nsingle, 0));
}

// Entry `to` of the species list takes entry `from`.
void MoveEntry(ProjectState& s, int to, int from) {
  s.plotMark(to) = s.plotMark(from);
  s.speciesInfo(0, to) = s.speciesInfo(0, from);
  s.speciesInfo(1, to) = s.speciesInfo(1, from);
  s.caption(to) = s.caption(from);
}

void CopySpecies(ProjectState& s, int to, int from) {
  s.logbeta(to) = s.logbeta(from);
  s.refine(to) = s.refine(from);
  for (int j = 1; j <= s.nreag; ++j) s.a(j, to) = s.a(j, from);
}

void EmptySpecies(ProjectState& s, int i) {
  s.logbeta(i) = 0;
  s.refine(i) = kRefineConstant;
  for (int j = 1; j <= s.nreag; ++j) s.a(j, i) = 0;
}

void SizeSpecies(ProjectState& s) {
  s.nsoluble = s.nreag + s.nspecies;
  s.a.ResizeKeep(s.nreag, s.nspecies);
  s.logbeta.ResizeKeep(s.nspecies);
  s.refine.ResizeKeep(s.nspecies);
  SizeSpeciesList(s);
}

void SizeSolids(ProjectState& s) {
  s.logksp.ResizeKeep(s.nsolids + 1);
  s.sa.ResizeKeep(s.nreag, s.nsolids);
  SizeSpeciesList(s);
}

double Quotient(double numerator, double denominator) {
  return denominator > 0 ? numerator / denominator : 0;
}

}  // namespace

std::string RefineText(int key) {
  switch (key) {
    case kRefineIgnore:
      return "ignore";
    case kRefineConstant:
      return "const.";
    case kRefineRefine:
      return "refine";
    default:
      return PlainText(key) + " Constraint";
  }
}

int InsertSpecies(ProjectState& s, int row) {
  const int r = std::clamp(row, 0, s.nspecies);
  const int n = r + 1;
  s.nspecies += 1;
  SizeSpecies(s);
  for (int m = s.nspecies; m > n; --m) CopySpecies(s, m, m - 1);
  if (r >= 1)
    CopySpecies(s, n, r);
  else
    EmptySpecies(s, n);
  for (int m = s.nspecies + s.nsolids; m >= n; --m) MoveEntry(s, s.nreag + m, s.nreag + m - 1);
  s.caption(s.nreag + n) = SpeciesFormula(s, n);
  s.modified = true;
  s.recalc = true;
  return n;
}

bool DeleteSpecies(ProjectState& s, int r) {
  if (r < 1 || r > s.nspecies || s.nspecies < 2) return false;
  for (int m = r; m < s.nspecies; ++m) CopySpecies(s, m, m + 1);
  for (int m = r; m < s.nspecies + s.nsolids; ++m) MoveEntry(s, s.nreag + m, s.nreag + m + 1);
  s.nspecies -= 1;
  SizeSpecies(s);
  s.modified = true;
  s.recalc = true;
  return true;
}

void AppendSolid(ProjectState& s) {
  s.nsolids += 1;
  SizeSolids(s);
  const int k = s.nsolids;
  s.logksp(k) = 0;
  for (int j = 1; j <= s.nreag; ++j) s.sa(j, k) = 0;
  const int entry = s.ntotal();
  s.plotMark(entry) = 0;
  s.speciesInfo(0, entry) = 0;
  s.speciesInfo(1, entry) = 0;
  s.caption(entry) = SolidName(s, k);
}

bool DeleteSolid(ProjectState& s, int r) {
  if (r < 1 || r > s.nsolids) return false;
  const int first = s.nreag + s.nspecies;
  for (int m = r; m < s.nsolids; ++m) {
    s.logksp(m) = s.logksp(m + 1);
    for (int j = 1; j <= s.nreag; ++j) s.sa(j, m) = s.sa(j, m + 1);
    MoveEntry(s, first + m, first + m + 1);
  }
  s.nsolids -= 1;
  SizeSolids(s);
  s.modified = true;
  s.recalc = true;
  return true;
}

void ResetConditions(ProjectState& s, double vstart, double vend) {
  if (vend <= 0) return;
  for (int j = 1; j <= s.nreag; ++j) {
    if (!s.flag(j, kTitration)) continue;
    s.initial(j, kTitration) = Quotient(s.total(j, kTitration), vstart);
    s.final(j, kTitration) = (s.total(j, kTitration) + (vend - vstart) * s.burette(j, kTitration)) / vend;
  }
}

void PrepareConditions(ProjectState& s, double addedVolume) {
  for (int j = 1; j <= s.nreag; ++j) {
    if (s.pxi(j, kDistribution) == 0) s.pxi(j, kDistribution) = 2;
    if (s.pxf(j, kDistribution) == 0) s.pxf(j, kDistribution) = 2;
  }
  if (s.type != kTitration) return;
  if (addedVolume != s.vfinal - s.volume[kTitration]) s.vfinal = addedVolume + s.volume[kTitration];
  ResetConditions(s, s.volume[kTitration], s.vfinal);
  s.recalc = true;
}

int CoefficientOf(double value) {
  double whole = std::floor(value);
  if (!(whole >= INT_MIN)) return INT_MIN;  // also NaN
  if (whole > INT_MAX) return INT_MAX;
  return static_cast<int>(whole);
}

// The volume is compared at single precision, as it was read: 0.11 read
// from the box steps by 0.01.
SpinStep SpinnerStep(double a) {
  const float volume = static_cast<float>(a);
  if (volume >= 10.0f) return {1, "##0"};
  if (volume >= 1.0f) return {0.1, "#0.0"};
  if (volume >= 0.11f) return {0.01, "#0.00"};
  return {0.001, "#0.000"};
}

}  // namespace tarn
