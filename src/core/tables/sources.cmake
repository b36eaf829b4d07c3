target_sources(tarn_core PRIVATE
  tables/concentration_table.cpp
  tables/concentration_table.h
)
