target_sources(tarn_gui PRIVATE
  kapp/conditional_window.cpp
  kapp/conditional_window.h
  kapp/kapp_views.cpp
  kapp/kapp_views.h
)
