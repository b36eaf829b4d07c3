#pragma once
// Chemical models and conditions built in code for the engine's tests, the
// benchmarks and the stress tool.

#include <string>
#include <vector>

#include "core/model/project_state.h"

namespace tarn::test {

// Builds a model: reagents by name, then soluble species and solids with one
// coefficient per reagent, in reagent order.
class ModelBuilder {
 public:
  explicit ModelBuilder(std::vector<std::string> reagents) : reagents_(std::move(reagents)) {}
  ModelBuilder& Species(double logbeta, std::vector<int> coef, int refine = 0);
  ModelBuilder& Solid(double logksp, std::vector<int> coef);
  // The allocated project (proton found, captions set), a titration of 101
  // points with every condition 0.
  ProjectState Build() const;

 private:
  struct Entry {
    double logConstant;
    std::vector<int> coef;
    int refine;
  };
  std::vector<std::string> reagents_;
  std::vector<Entry> species_;
  std::vector<Entry> solids_;
};

// A species distribution of npoints points (every reagent's total 0 until set).
void MakeDistribution(ProjectState& state, int npoints);
// Reagent j's total runs from initial to final (mol/L).
void SetTotal(ProjectState& state, int j, double initial, double final);
// Reagent j's pX runs from pxi to pxf.
void SetPX(ProjectState& state, int j, double pxi, double pxf);
// A titration of npoints points from volumeMl to vfinalMl (every amount and
// titrant concentration 0 until set).
void MakeTitration(ProjectState& state, double volumeMl, double vfinalMl, int npoints);
// Reagent j: amountMmol in the vessel, buretteConc in the titrant.
void SetTitrant(ProjectState& state, int j, double amountMmol, double buretteConc);

}  // namespace tarn::test
