#include "support/model_builder.h"

#include <stdexcept>

#include "core/model/model.h"

namespace tarn::test {

ModelBuilder& ModelBuilder::Species(double logbeta, std::vector<int> coef, int refine) {
  if (coef.size() != reagents_.size()) throw std::invalid_argument("one coefficient per reagent");
  species_.push_back({logbeta, std::move(coef), refine});
  return *this;
}

ModelBuilder& ModelBuilder::Solid(double logksp, std::vector<int> coef) {
  if (coef.size() != reagents_.size()) throw std::invalid_argument("one coefficient per reagent");
  solids_.push_back({logksp, std::move(coef), 0});
  return *this;
}

ProjectState ModelBuilder::Build() const {
  ProjectState state;
  state.title = "test model";
  state.nreag = static_cast<int>(reagents_.size());
  state.nspecies = static_cast<int>(species_.size());
  state.nsolids = static_cast<int>(solids_.size());
  state.nsoluble = state.nreag + state.nspecies;
  AllocateModel(state);
  for (int j = 1; j <= state.nreag; ++j) state.name(j) = reagents_[static_cast<std::size_t>(j - 1)];
  for (int i = 1; i <= state.nspecies; ++i) {
    const Entry& e = species_[static_cast<std::size_t>(i - 1)];
    state.logbeta(i) = e.logConstant;
    state.refine(i) = e.refine;
    for (int j = 1; j <= state.nreag; ++j) state.a(j, i) = e.coef[static_cast<std::size_t>(j - 1)];
  }
  for (int s = 1; s <= state.nsolids; ++s) {
    const Entry& e = solids_[static_cast<std::size_t>(s - 1)];
    state.logksp(s) = e.logConstant;
    for (int j = 1; j <= state.nreag; ++j) state.sa(j, s) = e.coef[static_cast<std::size_t>(j - 1)];
  }
  for (int j = 1; j <= state.nreag; ++j) state.flag(j, 0) = true;
  state.proton = FindProton(state);
  DefaultCaptions(state);
  state.npoints = 101;
  return state;
}

void MakeDistribution(ProjectState& state, int npoints) {
  state.type = kDistribution;
  state.npoints = npoints;
  state.volume[1] = 10;
  for (int j = 1; j <= state.nreag; ++j) SetTotal(state, j, 0, 0);
}

void SetTotal(ProjectState& state, int j, double initial, double final) {
  state.flag(j, 1) = true;
  state.initial(j, 1) = initial;
  state.final(j, 1) = final;
}

void SetPX(ProjectState& state, int j, double pxi, double pxf) {
  state.flag(j, 1) = false;
  state.pxi(j, 1) = pxi;
  state.pxf(j, 1) = pxf;
}

void MakeTitration(ProjectState& state, double volumeMl, double vfinalMl, int npoints) {
  state.type = kTitration;
  state.npoints = npoints;
  state.volume[0] = volumeMl;
  state.vfinal = vfinalMl;
  for (int j = 1; j <= state.nreag; ++j) SetTitrant(state, j, 0, 0);
}

void SetTitrant(ProjectState& state, int j, double amountMmol, double buretteConc) {
  state.flag(j, 0) = true;
  state.total(j, 0) = amountMmol;
  state.burette(j, 0) = buretteConc;
  DeriveTitrationConcentrations(state);
}

}  // namespace tarn::test
