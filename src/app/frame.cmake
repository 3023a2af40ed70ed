target_sources(varnex_desktop PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/CommandRouter.h
    ${CMAKE_CURRENT_LIST_DIR}/Prompts.h
)
