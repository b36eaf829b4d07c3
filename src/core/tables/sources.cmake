# Sources of src/core/tables (none yet).
