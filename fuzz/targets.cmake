# The fuzz targets: name, source, and the seed directories they start from.
set(VARNEX_FUZZ_TARGETS fuzz_text_reader fuzz_binary_reader fuzz_collection_loader fuzz_delim_parse
    fuzz_collection_file)
# Targets over the QtCore layer (the settings store), linked with varnex_qtcore.
set(VARNEX_FUZZ_QT_TARGETS fuzz_settings_file)
set(VARNEX_FUZZ_SEEDS_fuzz_text_reader "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/text_reader;${VARNEX_CORPUS_DIR}")
set(VARNEX_FUZZ_SEEDS_fuzz_binary_reader "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/binary_reader")
set(VARNEX_FUZZ_SEEDS_fuzz_collection_loader "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/collection_loader")
set(VARNEX_FUZZ_SEEDS_fuzz_delim_parse "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/delim_parse")
set(VARNEX_FUZZ_SEEDS_fuzz_collection_file "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/collection_loader")
set(VARNEX_FUZZ_SEEDS_fuzz_settings_file "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/settings_file")
list(APPEND VARNEX_FUZZ_TARGETS fuzz_game_reader)
set(VARNEX_FUZZ_SEEDS_fuzz_game_reader "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/game_reader;${VARNEX_CORPUS_DIR}")
# The game file reader through a real file, from the text and binary seeds.
list(APPEND VARNEX_FUZZ_TARGETS fuzz_game_file)
set(VARNEX_FUZZ_SEEDS_fuzz_game_file
    "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/text_reader;${CMAKE_SOURCE_DIR}/tests/fuzzseeds/binary_reader;${VARNEX_CORPUS_DIR}")
