target_sources(tarn_core PRIVATE
  engine/free_energy.cpp
  engine/free_energy.h
  engine/ionic_strength.cpp
  engine/ionic_strength.h
  engine/new_concentrations.cpp
  engine/new_concentrations.h
  engine/point_series.cpp
  engine/solid_assemblage.cpp
  engine/solid_assemblage.h
  engine/solve_ldl.h
  engine/solver_steps.h
  engine/solver_work.cpp
  engine/solver_work.h
)
