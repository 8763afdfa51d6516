# Turns one form resource into a C++ source that holds its text, so the programs carry their forms.
file(READ ${IN} content)
string(FIND "${content}" ")__form__\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${IN} holds the embedding delimiter")
endif()
file(WRITE ${OUT} "// Generated from ${NAME}.form: do not edit.\n")
file(APPEND ${OUT} "extern const char FormResource_${NAME}[];\n")
file(APPEND ${OUT} "const char FormResource_${NAME}[] = R\"__form__(${content})__form__\";\n")
