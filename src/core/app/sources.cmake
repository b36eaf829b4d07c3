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
)
