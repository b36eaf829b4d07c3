target_sources(tarn_core PRIVATE
  kapp/kapp_definition.cpp
  kapp/kapp_definition.h
  kapp/kapp_plot.cpp
  kapp/kapp_plot.h
  kapp/kapp_values.cpp
  kapp/kapp_values.h
)
