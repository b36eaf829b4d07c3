# Sources of src/core/app (none yet).
