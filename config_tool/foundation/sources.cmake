target_sources(tarn_core PRIVATE
    ${CMAKE_CURRENT_SOURCE_DIR}/foundation/CProperties.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/foundation/ChangeJournal.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/foundation/JournaledRegistry.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/foundation/ConfigurationMode.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/foundation/Globals.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/foundation/InstallationFiles.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/foundation/MRegistry.cpp
    ${CMAKE_CURRENT_SOURCE_DIR}/foundation/SHA1.cpp
)
