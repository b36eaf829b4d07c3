target_sources(tarn_core PRIVATE
  model/index_array.h
  model/message_sink.h
  model/model.cpp
  model/model_edits.cpp
  model/model_edits.h
  model/model.h
  model/number_text.cpp
  model/number_text.h
  model/old_format.cpp
  model/old_format.h
  model/project_file.cpp
  model/project_file.h
  model/project_state.h
  model/reagents.cpp
  model/reagents.h
)
