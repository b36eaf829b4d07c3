target_sources(tarn_gui PRIVATE
)
