target_sources(tarn_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/engine_files/BaseTerminalProperties.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/engine_files/DeviceProfileTable.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/engine_files/DeviceProfiles.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/engine_files/EngineFileSupport.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/engine_files/InstanceProperties.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/engine_files/LanguageProperties.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/engine_files/ModelNameDerivation.cpp
)
