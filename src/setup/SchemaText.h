#pragma once
// The schema of the three databases (resources/schema), as SQL scripts.
extern const char* const projectSchema;
extern const char* const archiveSchema;
extern const char* const presetsSchema;
