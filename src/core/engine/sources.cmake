target_sources(tarn_core PRIVATE
  engine/new_concentrations.cpp
  engine/new_concentrations.h
  engine/point_series.cpp
  engine/solve_ldl.h
  engine/solver_work.cpp
  engine/solver_work.h
)
