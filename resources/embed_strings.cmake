file(READ ${IN} TSV)
file(WRITE ${OUT} "// Generated from strings.tsv\nextern const char* const kStringTableTsv;\nconst char* const kStringTableTsv = R\"VORADTSV(${TSV})VORADTSV\";\n")
