# Sources of src/core/engine (none yet).
