target_sources(tarn_core PRIVATE
  plot/surface.h
)
