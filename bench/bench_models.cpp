#include "bench_models.h"

#include <string>
#include <vector>

#include "support/model_builder.h"

namespace tarn::bench {

namespace {

using test::ModelBuilder;

// A species given by the names of its reagents and their coefficients.
struct Term {
  const char* reagent;
  int coef;
};

class NamedBuilder {
 public:
  explicit NamedBuilder(std::vector<std::string> names) : names_(names), builder_(std::move(names)) {}
  NamedBuilder& Species(double logbeta, std::vector<Term> terms) {
    builder_.Species(logbeta, Coefficients(terms));
    return *this;
  }
  NamedBuilder& Solid(double logksp, std::vector<Term> terms) {
    builder_.Solid(logksp, Coefficients(terms));
    return *this;
  }
  ProjectState Build() const { return builder_.Build(); }

 private:
  std::vector<int> Coefficients(const std::vector<Term>& terms) const {
    std::vector<int> coef(names_.size(), 0);
    for (const Term& t : terms)
      for (std::size_t j = 0; j < names_.size(); ++j)
        if (names_[j] == t.reagent) coef[j] = t.coef;
    return coef;
  }
  std::vector<std::string> names_;
  ModelBuilder builder_;
};

ProjectState CopperGlycineModel() {
  NamedBuilder b({"Cu", "Gly", "H"});
  b.Species(9.57, {{"Gly", 1}, {"H", 1}}).Species(11.92, {{"Gly", 1}, {"H", 2}});
  b.Species(8.19, {{"Cu", 1}, {"Gly", 1}}).Species(15.06, {{"Cu", 1}, {"Gly", 2}});
  b.Species(-0.85, {{"Cu", 1}, {"Gly", 1}, {"H", -1}}).Species(5.0, {{"Cu", 1}, {"Gly", 2}, {"H", -1}});
  b.Species(-7.5, {{"Cu", 1}, {"H", -1}}).Species(-10.4, {{"Cu", 2}, {"H", -2}});
  b.Species(-16.2, {{"Cu", 1}, {"H", -2}}).Species(-13.78, {{"H", -1}});
  return b.Build();
}

void AddMetalComplexes(NamedBuilder& b, const char* m, const std::vector<double>& logbeta) {
  b.Species(logbeta[0], {{m, 1}, {"Gly", 1}}).Species(logbeta[1], {{m, 1}, {"Gly", 2}});
  b.Species(logbeta[2], {{m, 1}, {"Gly", 3}}).Species(logbeta[3], {{m, 1}, {"En", 1}});
  b.Species(logbeta[4], {{m, 1}, {"En", 2}}).Species(logbeta[5], {{m, 1}, {"En", 3}});
  b.Species(logbeta[6], {{m, 1}, {"Gly", 1}, {"En", 1}}).Species(logbeta[7], {{m, 1}, {"H", -1}});
  b.Species(logbeta[8], {{m, 1}, {"H", -2}}).Species(logbeta[9], {{m, 1}, {"Gly", 1}, {"H", 1}});
  b.Species(logbeta[10], {{m, 1}, {"En", 1}, {"H", 1}});
}

// The Davies correction at the ionic strength of every point.
ProjectState WithVariableStrength(ProjectState st, const std::vector<int>& charges) {
  for (int j = 1; j <= st.nreag; ++j) st.activity.charge(j) = charges[static_cast<std::size_t>(j - 1)];
  st.activity.correction = ActivityCorrection::kDavies;
  st.activity.calculated = true;
  st.activity.referenceStrength = 0.1;
  st.activity.background = 0.1;
  return st;
}

}  // namespace

ProjectState DiproticAcid() {
  ProjectState st =
      test::ModelBuilder({"H", "L"}).Species(9.5, {1, 1}).Species(13.8, {2, 1}).Species(-13.78, {-1, 0}).Build();
  test::MakeDistribution(st, kBenchPoints);
  test::SetPX(st, 1, 2, 12);
  test::SetTotal(st, 2, 1e-3, 1e-3);
  return st;
}

ProjectState CopperGlycine() {
  ProjectState st = CopperGlycineModel();
  test::MakeDistribution(st, kBenchPoints);
  test::SetTotal(st, 1, 1e-3, 1e-3);
  test::SetTotal(st, 2, 2.5e-3, 2.5e-3);
  test::SetPX(st, 3, 2, 11);
  return st;
}

ProjectState CopperGlycineTitration() {
  ProjectState st = CopperGlycineModel();
  test::MakeTitration(st, 20, 22.2, kBenchPoints);
  test::SetTitrant(st, 1, 0.02, 0);
  test::SetTitrant(st, 2, 0.05, 0);
  test::SetTitrant(st, 3, 0.15, -0.1);  // 0.1 M hydroxide
  return st;
}

ProjectState SixReagents() {
  NamedBuilder b({"H", "Cu", "Ni", "Zn", "Gly", "En"});
  b.Species(-13.78, {{"H", -1}});
  b.Species(9.57, {{"Gly", 1}, {"H", 1}}).Species(11.92, {{"Gly", 1}, {"H", 2}});
  b.Species(9.9, {{"En", 1}, {"H", 1}}).Species(17.0, {{"En", 1}, {"H", 2}});
  AddMetalComplexes(b, "Cu", {8.19, 15.06, 16.5, 10.5, 19.6, 20.0, 18.0, -7.5, -16.2, 11.6, 15.5});
  AddMetalComplexes(b, "Ni", {5.8, 10.7, 14.0, 7.3, 13.5, 17.6, 12.7, -9.9, -19.0, 11.0, 13.0});
  AddMetalComplexes(b, "Zn", {5.0, 9.2, 11.6, 5.7, 10.6, 12.1, 10.5, -9.0, -17.8, 10.8, 12.5});
  ProjectState st = b.Build();
  test::MakeDistribution(st, kBenchPoints);
  test::SetPX(st, 1, 2, 11);
  for (int j = 2; j <= 4; ++j) test::SetTotal(st, j, 1e-3, 1e-3);
  test::SetTotal(st, 5, 3e-3, 3e-3);
  test::SetTotal(st, 6, 3e-3, 3e-3);
  return st;
}

ProjectState IronHydroxide() {
  ProjectState st = test::ModelBuilder({"Fe", "H"})
                        .Species(-2.19, {1, -1})
                        .Species(-5.67, {1, -2})
                        .Species(-21.6, {1, -4})
                        .Species(-2.95, {2, -2})
                        .Species(-6.3, {3, -4})
                        .Species(-13.78, {0, -1})
                        .Solid(3.84, {1, -3})
                        .Build();
  test::MakeDistribution(st, kBenchPoints);
  test::SetTotal(st, 1, 1e-3, 1e-3);
  test::SetPX(st, 2, 1, 4);
  return st;
}

ProjectState ElevenReagentsTwoSolids() {
  NamedBuilder b({"H", "Ca", "Mg", "Cu", "Zn", "Ni", "CO3", "SO4", "Cl", "Gly", "Cit"});
  b.Species(-13.78, {{"H", -1}});
  b.Species(10.33, {{"CO3", 1}, {"H", 1}}).Species(16.68, {{"CO3", 1}, {"H", 2}});
  b.Species(1.99, {{"SO4", 1}, {"H", 1}});
  b.Species(9.57, {{"Gly", 1}, {"H", 1}}).Species(11.92, {{"Gly", 1}, {"H", 2}});
  b.Species(6.4, {{"Cit", 1}, {"H", 1}}).Species(11.16, {{"Cit", 1}, {"H", 2}}).Species(14.29, {{"Cit", 1}, {"H", 3}});
  for (auto [m, carbonate, bicarbonate, sulfate, citrate, hydroxide] :
       {std::tuple{"Ca", 3.22, 11.43, 2.36, 4.87, -12.6}, std::tuple{"Mg", 2.92, 11.37, 2.37, 4.81, -11.4}}) {
    b.Species(carbonate, {{m, 1}, {"CO3", 1}}).Species(bicarbonate, {{m, 1}, {"CO3", 1}, {"H", 1}});
    b.Species(sulfate, {{m, 1}, {"SO4", 1}}).Species(citrate, {{m, 1}, {"Cit", 1}});
    b.Species(hydroxide, {{m, 1}, {"H", -1}});
  }
  b.Species(8.19, {{"Cu", 1}, {"Gly", 1}}).Species(15.06, {{"Cu", 1}, {"Gly", 2}});
  b.Species(5.9, {{"Cu", 1}, {"Cit", 1}}).Species(-7.5, {{"Cu", 1}, {"H", -1}});
  b.Species(-10.4, {{"Cu", 2}, {"H", -2}}).Species(0.4, {{"Cu", 1}, {"Cl", 1}});
  b.Species(2.36, {{"Cu", 1}, {"SO4", 1}}).Species(6.7, {{"Cu", 1}, {"CO3", 1}});
  b.Species(5.0, {{"Zn", 1}, {"Gly", 1}}).Species(9.2, {{"Zn", 1}, {"Gly", 2}});
  b.Species(4.98, {{"Zn", 1}, {"Cit", 1}}).Species(-9.0, {{"Zn", 1}, {"H", -1}});
  b.Species(0.4, {{"Zn", 1}, {"Cl", 1}}).Species(2.3, {{"Zn", 1}, {"SO4", 1}});
  b.Species(5.8, {{"Ni", 1}, {"Gly", 1}}).Species(10.7, {{"Ni", 1}, {"Gly", 2}});
  b.Species(14.0, {{"Ni", 1}, {"Gly", 3}}).Species(5.4, {{"Ni", 1}, {"Cit", 1}});
  b.Species(-9.9, {{"Ni", 1}, {"H", -1}}).Species(2.3, {{"Ni", 1}, {"SO4", 1}});
  b.Solid(-8.48, {{"Ca", 1}, {"CO3", 1}});
  b.Solid(8.7, {{"Cu", 1}, {"H", -2}});
  ProjectState st = b.Build();
  test::MakeDistribution(st, kBenchPoints);
  test::SetPX(st, 1, 4, 10);
  const double totals[] = {0, 0, 5e-3, 2e-3, 1e-3, 1e-3, 1e-3, 5e-3, 2e-3, 5e-3, 1e-3, 1e-3};
  for (int j = 2; j <= 11; ++j) test::SetTotal(st, j, totals[j], totals[j]);
  return st;
}

ProjectState SixReagentsVariableStrength() {
  return WithVariableStrength(SixReagents(), {1, 2, 2, 2, -1, 0});  // H Cu Ni Zn Gly En
}

ProjectState ElevenReagentsVariableStrength() {
  // H Ca Mg Cu Zn Ni CO3 SO4 Cl Gly Cit
  return WithVariableStrength(ElevenReagentsTwoSolids(), {1, 2, 2, 2, 2, 2, -2, -2, -1, -1, -3});
}

}  // namespace tarn::bench
