# The core's folders stand in one order and include only downward:
#   util <- files, settings <- reader <- cache, game <- pattern <- collection <- players <- columns <- report
# Every folder names the folders it may include besides its own. A file
# that includes a core header of a folder not in its list stops the
# configuration, so the order is proven on every build.
#
# Included by src/core/CMakeLists.txt, or run alone to check another tree:
#   cmake -DCORE_DIR=path/to/core -P cmake/CheckCoreLayers.cmake

cmake_policy(VERSION 3.22)

set(_layers_util "")
set(_layers_files util)
set(_layers_settings util)
set(_layers_reader util files settings)
set(_layers_cache util files settings reader)
set(_layers_game util files settings reader)
set(_layers_pattern util files settings reader cache game)
set(_layers_collection util files settings reader cache game pattern)
set(_layers_players util files settings reader cache game pattern collection)
set(_layers_columns util files settings reader cache game pattern collection players)
set(_layers_report util files settings reader cache game pattern collection players columns)
set(_core_folders util files settings reader cache game pattern collection players columns report)

function(varnex_check_core_layers core_dir)
    file(GLOB_RECURSE _files RELATIVE "${core_dir}" "${core_dir}/*.h" "${core_dir}/*.cpp")
    set(_faults "")
    foreach(_file IN LISTS _files)
        string(REGEX MATCH "^[^/]+" _folder "${_file}")
        if(NOT _folder IN_LIST _core_folders)
            list(APPEND _faults "${_file}: the folder ${_folder} has no place in the core's order")
            continue()
        endif()
        file(STRINGS "${core_dir}/${_file}" _includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(_line IN LISTS _includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" _header "${_line}")
            string(REGEX MATCH "^[^/]+" _target "${_header}")
            if(_header STREQUAL _target)
                list(APPEND _faults "${_file}: includes \"${_header}\" without its folder")
            elseif(NOT _target STREQUAL _folder AND NOT _target IN_LIST _layers_${_folder})
                list(APPEND _faults "${_file}: ${_folder}/ may not include \"${_header}\"")
            endif()
        endforeach()
    endforeach()
    if(_faults)
        list(JOIN _faults "\n  " _text)
        message(FATAL_ERROR "The core includes against its folder order:\n  ${_text}")
    endif()
endfunction()

if(CMAKE_SCRIPT_MODE_FILE AND CORE_DIR)
    get_filename_component(_dir "${CORE_DIR}" ABSOLUTE)
    varnex_check_core_layers("${_dir}")
endif()
