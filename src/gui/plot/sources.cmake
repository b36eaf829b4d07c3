target_sources(tarn_gui PRIVATE
  plot/graph_form.cpp
  plot/graph_form.h
  plot/graph_form_panel.cpp
  plot/graph_form_plot.cpp
  plot/painter_surface.cpp
  plot/painter_surface.h
  plot/plot_copy.cpp
  plot/plot_copy.h
  plot/plot_widgets.cpp
  plot/plot_widgets.h
)
