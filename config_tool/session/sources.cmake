target_sources(tarn_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/session/ConfigSession.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/session/SaveSequences.cpp
)
