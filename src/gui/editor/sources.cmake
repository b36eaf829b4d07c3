target_sources(tarn_gui PRIVATE
  editor/conditions_page.cpp
  editor/editor_layout.h
  editor/model_page.cpp
  editor/model_window.cpp
  editor/model_window.h
  editor/strength_page.cpp
)
