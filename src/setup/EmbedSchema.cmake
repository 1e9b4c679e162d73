# Writes the schema files as C++ string constants.
set(text "// Generated from resources/schema; do not edit.\n#include \"setup/SchemaText.h\"\n")
foreach(name project archive presets)
  file(READ ${SCHEMA_DIR}/${name}.sql sql)
  string(APPEND text "const char* const ${name}Schema = R\"TREMOLSQL(${sql})TREMOLSQL\";\n")
endforeach()
file(WRITE ${OUT} "${text}")
