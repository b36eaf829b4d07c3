# Sources of src/core/app: the desktop program's logic that needs no windows.
target_sources(tarn_core PRIVATE
  app/command_line.cpp
  app/command_line.h
  app/new_project.cpp
  app/new_project.h
  app/point_count.cpp
  app/point_count.h
  app/program_folder.cpp
  app/program_folder.h
  app/project_open.cpp
  app/project_open.h
  app/project_edits.cpp
  app/project_edits.h
  app/recalculation.cpp
  app/recalculation.h
  app/recent_files.cpp
  app/recent_files.h
  app/settings.cpp
  app/settings.h
  app/start_up.cpp
  app/start_up.h
  app/store_file.cpp
  app/store_file.h
  app/version.cpp
  app/version.h
)
# The version is defined for its own file only, so a new version rebuilds one file.
set_source_files_properties(app/version.cpp PROPERTIES COMPILE_DEFINITIONS TARN_VERSION="${PROJECT_VERSION}")
# Where an installed program finds its shipped data, relative to its own
# folder ("../share/tarn" with the usual install folders).
file(RELATIVE_PATH TARN_DATA_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_DATADIR}/tarn")
set_source_files_properties(app/program_folder.cpp PROPERTIES
  COMPILE_DEFINITIONS TARN_DATA_FROM_BIN="${TARN_DATA_FROM_BIN}")
