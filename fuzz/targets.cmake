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
# The header cache on a database of the input's rows.
list(APPEND VARNEX_FUZZ_TARGETS fuzz_header_cache)
set(VARNEX_FUZZ_SEEDS_fuzz_header_cache "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/header_cache")
# The duplicate keys and groups over records, their mirrored and cut copies.
list(APPEND VARNEX_FUZZ_TARGETS fuzz_duplicates)
set(VARNEX_FUZZ_SEEDS_fuzz_duplicates "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/duplicates;${VARNEX_CORPUS_DIR}")
# The filter's terms, dates, ranks, sorting by meaning and shell words.
list(APPEND VARNEX_FUZZ_TARGETS fuzz_report_parsers)
set(VARNEX_FUZZ_SEEDS_fuzz_report_parsers "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/report_parsers")
# The command-line tool's escaping and board output; its sources are built
# into the target, since the fuzz build has no command-line tool.
list(APPEND VARNEX_FUZZ_TARGETS fuzz_cli_output)
set(VARNEX_FUZZ_SOURCES_fuzz_cli_output "${CMAKE_SOURCE_DIR}/src/cli/CliBoard.cpp;${CMAKE_SOURCE_DIR}/src/cli/CliEscape.cpp")
set(VARNEX_FUZZ_SEEDS_fuzz_cli_output
    "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/cli_output;${CMAKE_SOURCE_DIR}/tests/fuzzseeds/game_reader")
# The charset choice and decoding of a record's texts.
list(APPEND VARNEX_FUZZ_QT_TARGETS fuzz_display_decoder)
set(VARNEX_FUZZ_SEEDS_fuzz_display_decoder "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/display_decoder")
# The list's root node and the game view's root, read from the same bytes,
# agree.
list(APPEND VARNEX_FUZZ_TARGETS fuzz_root_properties)
set(VARNEX_FUZZ_SEEDS_fuzz_root_properties
    "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/text_reader;${CMAKE_SOURCE_DIR}/tests/fuzzseeds/game_reader;${VARNEX_CORPUS_DIR}")
# The position search's pattern reader, placements and search.
list(APPEND VARNEX_FUZZ_TARGETS fuzz_pattern_parser)
set(VARNEX_FUZZ_SEEDS_fuzz_pattern_parser "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/pattern_parser")
# The position index's stored rows: a damaged one is refused, never trusted.
list(APPEND VARNEX_FUZZ_TARGETS fuzz_position_row)
set(VARNEX_FUZZ_SEEDS_fuzz_position_row "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/position_row")
# Position rows stored through the header cache, then damaged.
list(APPEND VARNEX_FUZZ_TARGETS fuzz_position_rows)
set(VARNEX_FUZZ_SEEDS_fuzz_position_rows "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/position_rows")
# The player key, aliases and the players table's counts.
list(APPEND VARNEX_FUZZ_TARGETS fuzz_player_names)
set(VARNEX_FUZZ_SEEDS_fuzz_player_names "${CMAKE_SOURCE_DIR}/tests/fuzzseeds/player_names")
