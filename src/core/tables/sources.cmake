target_sources(tarn_core PRIVATE
  tables/concentration_table.cpp
  tables/concentration_table.h
  tables/single_points.cpp
  tables/single_points.h
)
