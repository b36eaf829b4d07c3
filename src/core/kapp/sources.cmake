target_sources(tarn_core PRIVATE
)
