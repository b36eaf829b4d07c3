target_sources(tarn_core PRIVATE
  tables/concentration_table.cpp
  tables/concentration_table.h
  tables/single_points.cpp
  tables/single_points.h
  tables/table_export.cpp
  tables/table_export.h
)
# The workbook writer: libxlsxwriter, a C library (Debian: libxlsxwriter-dev).
find_path(TARN_XLSXWRITER_INCLUDE xlsxwriter.h REQUIRED)
find_library(TARN_XLSXWRITER_LIBRARY xlsxwriter REQUIRED)
target_include_directories(tarn_core SYSTEM PRIVATE ${TARN_XLSXWRITER_INCLUDE})
target_link_libraries(tarn_core PUBLIC ${TARN_XLSXWRITER_LIBRARY})
