target_sources(tarn_core PRIVATE
  plot/chart.cpp
  plot/chart.h
  plot/curve_data.cpp
  plot/curve_data.h
  plot/formula_text.cpp
  plot/formula_text.h
  plot/plot_actions.cpp
  plot/plot_actions.h
  plot/recording_surface.cpp
  plot/recording_surface.h
  plot/plot_drawing.cpp
  plot/plot_drawing.h
  plot/surface.h
)
